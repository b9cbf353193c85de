#pragma once

#include <QWebEngineUrlRequestInterceptor>

#include <functional>
#include <utility>

namespace vocab {

// Hands every request of a page to the control before it is made (on the
// user-interface thread), which may block, redirect or add headers to it.
class RequestInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using Handler = std::function<void(QWebEngineUrlRequestInfo &)>;
    explicit RequestInterceptor(Handler handler) : m_handler(std::move(handler)) {}

    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (m_handler)
            m_handler(info);
    }
    void clear() { m_handler = nullptr; }

private:
    Handler m_handler;
};

} // namespace vocab
