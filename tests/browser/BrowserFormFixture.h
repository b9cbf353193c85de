#pragma once

// A form holding a line edit and a browser component over a spy control
// whose document has arrived, shown and active.

#include "HostedBrowser.h"
#include "SpyControl.h"

#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

namespace vocab::test {

struct BrowserForm {
    BrowserForm()
    {
        auto *layout = new QVBoxLayout(&form);
        edit = new QLineEdit(&form);
        layout->addWidget(edit);
        browser = makeWithSpy<THostedBrowser>(spy, &form).release(); // owned by the form
        layout->addWidget(browser);
        spy->loadDocument();
        form.resize(400, 300);
    }

    // Shows the form and makes it the active window.
    bool showActive()
    {
        form.show();
        QApplication::setActiveWindow(&form);
        return QTest::qWaitForWindowActive(&form);
    }

    QWidget *document() const { return spy->DocumentWindow(); }
    QPoint globalCentre(QWidget *w) const { return w->mapToGlobal(w->rect().center()); }

    QWidget form;
    QLineEdit *edit = nullptr;
    SpyControl *spy = nullptr;
    THostedBrowser *browser = nullptr;
};

} // namespace vocab::test
