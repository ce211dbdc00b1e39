// The calculator's peer for start-up cost: a window of plain Qt widgets laid out like the
// calculator's (eleven labels, three frames, the formula picture, a radio group, a table, six
// buttons, three float spin boxes and an integer one) and a hidden About box with its two
// pictures, decoded at start-up as the calculator's are, built the way a Qt program usually is and
// printing through QPrinter, so that it links what a plain Qt calculator would.
#include <QApplication>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

namespace {

QLabel* Label(QWidget* window, int x, int y, const char* text)
{
    auto* label = new QLabel(QString::fromLatin1(text), window);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void Frame(QWidget* window, const QRect& bounds)
{
    auto* frame = new QFrame(window);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(bounds);
}

QDoubleSpinBox* Quantity(QWidget* window, int y)
{
    auto* box = new QDoubleSpinBox(window);
    box->setGeometry(240, y, 201, 25);
    box->setRange(0.0, 1000000.0);
    box->setDecimals(1);
    return box;
}

QPushButton* Button(QWidget* window, const QRect& bounds, const char* caption)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), window);
    button->setGeometry(bounds);
    return button;
}

void PrintTable(const QTableWidget& table)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return;
    QPrinter printer(info);
    QPainter painter(&printer);
    for (int row = 0; row < table.rowCount(); ++row)
        for (int col = 0; col < table.columnCount(); ++col)
            if (const QTableWidgetItem* item = table.item(row, col))
                painter.drawText(100 * col, 100 + 20 * row, item->text());
}

// The About box: a panel with the program's icon stretched over its corner, four texts and an
// emblem, and an OK button; created hidden with the window, shown by the About button.
QDialog* AboutBox(QWidget* window)
{
    auto* box = new QDialog(window);
    box->setWindowTitle(QStringLiteral("About"));
    box->setFixedSize(298, 175);
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(11);
    box->setFont(font);
    auto* panel = new QFrame(box);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(8, 8, 281, 129);
    auto* icon = new QLabel(panel);
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap(QStringLiteral(":/plain/warning.png")));
    icon->setGeometry(8, 8, 73, 65);
    Label(panel, 88, 16, "Velorin");
    Label(panel, 88, 40, "Version 1.0");
    Label(panel, 8, 80, "Copyright (c) 2026 Velorin developers");
    QLabel* comments = Label(panel, 8, 104, "MIT licence; no warranty.");
    comments->setWordWrap(true);
    auto* emblem = new QLabel(panel);
    emblem->setPixmap(QPixmap(QStringLiteral(":/plain/emblem.png")));
    emblem->setGeometry(184, 8, 105, 105);
    QObject::connect(Button(box, {111, 140, 75, 29}, "OK"), &QPushButton::clicked, box, &QDialog::close);
    return box;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Plain"));
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(16);
    window.setFont(font);
    window.resize(782, 482);

    Frame(&window, {8, 376, 441, 97});
    Frame(&window, {232, 32, 217, 209});
    auto* picture = new QLabel(&window);
    picture->setPixmap(QPixmap(QStringLiteral(":/plain/formula.bmp")));
    picture->setGeometry(16, 40, 201, 194);
    Frame(&window, {8, 32, 217, 209});
    Label(&window, 80, 8, "Ohm Law");
    Label(&window, 304, 8, "Calculation");
    Label(&window, 240, 80, "Voltage");
    Label(&window, 240, 133, "Amperage");
    Label(&window, 240, 184, "Resistance");
    QLabel* voltage = Label(&window, 16, 384, "Voltage = 0 Volt");
    QLabel* amperage = Label(&window, 16, 416, "Amperage = 0 Amp");
    Label(&window, 16, 448, "Resistance = 0 Ohm");
    Label(&window, 8, 352, "Results");
    Label(&window, 560, 8, "Stored Result");
    Label(&window, 240, 48, "Decimal Required");

    auto* group = new QGroupBox(QStringLiteral("Calculation of : "), &window);
    group->setGeometry(8, 248, 441, 105);
    const char* items[] = {"Voltage", "Amperage", "Resistance"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(items[i]), group);
        radio->setGeometry(8, 20 + 26 * i, 425, 26);
        radio->setChecked(i == 0);
    }

    auto* table = new QTableWidget(2, 3, &window);
    table->setGeometry(456, 32, 320, 345);
    table->setHorizontalHeaderLabels(
        {QStringLiteral("Voltage"), QStringLiteral("Amperage"), QStringLiteral("Resistance")});
    table->horizontalHeader()->setDefaultSectionSize(100);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);

    Button(&window, {456, 384, 75, 33}, "Store");
    Button(&window, {576, 384, 75, 33}, "Delete");
    Quantity(&window, 104)->hide();
    QDoubleSpinBox* amp = Quantity(&window, 160);
    QDoubleSpinBox* resistance = Quantity(&window, 208);
    Button(&window, {696, 384, 75, 33}, "Export");
    QObject::connect(Button(&window, {456, 432, 75, 33}, "Print"), &QPushButton::clicked, &window,
                     [table] { PrintTable(*table); });
    QDialog* about = AboutBox(&window);
    QObject::connect(Button(&window, {576, 432, 75, 33}, "About"), &QPushButton::clicked, about, &QDialog::show);
    QObject::connect(Button(&window, {696, 432, 75, 33}, "Exit"), &QPushButton::clicked, &window, &QWidget::close);
    auto* decimals = new QSpinBox(&window);
    decimals->setGeometry(376, 48, 65, 30);
    decimals->setRange(0, 10);
    decimals->setValue(1);

    const auto calculate = [=] {
        const double v = amp->value() * resistance->value();
        voltage->setText(QStringLiteral("Voltage = %1 Volt").arg(v));
        voltage->adjustSize();
        amperage->setText(QStringLiteral("Amperage = %1 Amp").arg(amp->value()));
        amperage->adjustSize();
    };
    QObject::connect(amp, &QDoubleSpinBox::valueChanged, &window, calculate);
    QObject::connect(resistance, &QDoubleSpinBox::valueChanged, &window, calculate);

    window.show();
    return QApplication::exec();
}
