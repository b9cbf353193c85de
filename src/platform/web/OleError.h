#pragma once

// The error of a failing call on the browser's objects: a typed call whose
// result code tells a failure, or a late-bound call whose script threw or
// got no answer. It carries the result code and the text the page gave.

#include "AppError.h"
#include "ComTypes.h"

namespace vocab {

inline constexpr HRESULT E_ACCESSDENIED = hresult(0x80070005);

class EOleException : public AppError {
public:
    EOleException(HRESULT code, const QString &message) : AppError(message), m_code(code) {}
    HRESULT ErrorCode() const noexcept { return m_code; }

private:
    HRESULT m_code;
};

} // namespace vocab
