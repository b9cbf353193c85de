#include "PageSetupDialog.h"

#include "WindowHelpers.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace vocab {

namespace {

constexpr double MillimetresPerInch = 25.4;

QString marginText(double inches)
{
    const double shown = PageSetupDialog::metricMargins() ? inches * MillimetresPerInch : inches;
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(std::round(shown * 1000) / 1000, 'g', 15);
}

// The inches of a margin as typed, in the locale's way or with "."; NaN for no number.
double marginInches(const QString &text)
{
    bool ok = false;
    double shown = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        shown = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || shown < 0)
        return std::nan("");
    return PageSetupDialog::metricMargins() ? shown / MillimetresPerInch : shown;
}

QLineEdit *field(QWidget *parent, const char *id, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(id));
    return edit;
}

} // namespace

bool PageSetupDialog::metricMargins()
{
    return QLocale::system().measurementSystem() != QLocale::ImperialUSSystem;
}

PageSetupDialog::PageSetupDialog(const PageSetupValues &values, QWidget *parent) : QDialog(parent), m_values(values)
{
    setWindowClassName(this, WindowClass::StandardDialog);
    setWindowTitle(QStringLiteral("Параметры страницы"));

    auto *orientation = new QGroupBox(QStringLiteral("Ориентация"), this);
    m_portrait = new QRadioButton(QStringLiteral("&Книжная"), orientation);
    m_portrait->setObjectName(QStringLiteral("1056"));
    m_landscape = new QRadioButton(QStringLiteral("&Альбомная"), orientation);
    m_landscape->setObjectName(QStringLiteral("1057"));
    (values.landscape ? m_landscape : m_portrait)->setChecked(true);
    auto *orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);

    auto *margins = new QGroupBox(metricMargins() ? QStringLiteral("Поля (мм)") : QStringLiteral("Поля (дюймы)"), this);
    const QMarginsF &m = values.marginsInches;
    m_margins = {field(margins, "1155", marginText(m.left())), field(margins, "1156", marginText(m.top())),
                 field(margins, "1157", marginText(m.right())), field(margins, "1158", marginText(m.bottom()))};
    auto *marginLayout = new QGridLayout(margins);
    const char *labels[] = {"&Левое:", "&Верхнее:", "&Правое:", "&Нижнее:"};
    for (int i = 0; i < 4; ++i) {
        auto *label = new QLabel(QString::fromUtf8(labels[i]), margins);
        label->setBuddy(m_margins[static_cast<std::size_t>(i)]);
        marginLayout->addWidget(label, i / 2, (i % 2) * 2);
        marginLayout->addWidget(m_margins[static_cast<std::size_t>(i)], i / 2, (i % 2) * 2 + 1);
    }

    auto *texts = new QGroupBox(QStringLiteral("Колонтитулы"), this);
    m_header = field(texts, "8147", values.header);
    m_footer = field(texts, "8149", values.footer);
    auto *textLayout = new QFormLayout(texts);
    textLayout->addRow(QStringLiteral("&Верхний:"), m_header);
    textLayout->addRow(QStringLiteral("Ни&жний:"), m_footer);
    // No buddy: the label shows its "&"s as they are.
    auto *codes = new QLabel(QStringLiteral("&w — заголовок, &u — адрес, &d, &D — дата, &t, &T — время, "
                                            "&p — номер страницы, &P — число страниц, "
                                            "&b — дальше вправо (второй раз: середина и право), && — знак &"),
                             texts);
    codes->setTextFormat(Qt::PlainText);
    codes->setWordWrap(true);
    textLayout->addRow(codes);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("ОК"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("1"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *top = new QHBoxLayout;
    top->addWidget(orientation);
    top->addWidget(margins, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(texts);
    layout->addWidget(buttons);
}

void PageSetupDialog::accept()
{
    std::array<double, 4> inches{};
    for (std::size_t i = 0; i < m_margins.size(); ++i) {
        inches[i] = marginInches(m_margins[i]->text());
        if (std::isnan(inches[i])) {
            QMessageBox::warning(this, windowTitle(), QStringLiteral("Поле страницы должно быть неотрицательным числом."));
            m_margins[i]->setFocus();
            m_margins[i]->selectAll();
            return;
        }
    }
    m_values.landscape = m_landscape->isChecked();
    m_values.header = m_header->text();
    m_values.footer = m_footer->text();
    m_values.marginsInches = QMarginsF(inches[0], inches[1], inches[2], inches[3]);
    QDialog::accept();
}

} // namespace vocab
