#pragma once

// The browser's page-setup dialog: orientation, header, footer and margins.
// It is a standard dialog to the dialog watch ("#32770"), and its controls
// carry the ids the platform's dialog has, as object names, so that a host
// can fill it in: 1056 portrait, 1057 landscape, 8147 header, 8149 footer,
// 1155-1158 left, top, right and bottom margin, 1 OK, 2 Cancel. The margins
// are shown in the unit of the user's locale: millimetres, or inches where
// the locale measures in inches.

#include "PageSetupStore.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QRadioButton;

namespace vocab {

class PageSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageSetupDialog(const PageSetupValues &values, QWidget *parent = nullptr);

    // The values as the dialog holds them; valid once it was accepted.
    PageSetupValues values() const { return m_values; }

    // Whether margins are shown in millimetres (else in inches).
    static bool metricMargins();

    void accept() override;

private:
    PageSetupValues m_values;
    QRadioButton *m_portrait = nullptr;
    QRadioButton *m_landscape = nullptr;
    QLineEdit *m_header = nullptr;
    QLineEdit *m_footer = nullptr;
    std::array<QLineEdit *, 4> m_margins{}; // left, top, right, bottom
};

} // namespace vocab
