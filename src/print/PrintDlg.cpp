#include "print/PrintDlg.h"

#include "platform/Desktop.h"
#include "platform/DialogUnits.h"
#include "print/PagePrint.h"
#include "print/PaperSizeTable.h"
#include "print/PrinterAccess.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QSlider>

#include <utility>

namespace {

const QString kCaption = QStringLiteral("CVarnekJPG");
// Where the preview frame goes whenever the paper changes, in pixels of the client area.
constexpr QPoint kFrameCorner(530, 250);

template <typename Widget>
Widget* place(Widget* widget, int x, int y, int width, int height, const char* name = nullptr)
{
    widget->setGeometry(dialogUnitsRect(x, y, width, height));
    if (name)
        widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QRadioButton* radio(QWidget* parent, const QString& text, int x, int y, int width, const char* name)
{
    auto* button = place(new QRadioButton(text, parent), x, y, width, 10, name);
    // Each button is a group of its own: the dialog sets every state itself.
    button->setAutoExclusive(false);
    // Room for the whole caption where this desktop's font runs wider than the layout's.
    button->resize(std::max(button->width(), button->sizeHint().width()), button->height());
    return button;
}

QLineEdit* edit(QWidget* parent, int x, int y, int width, const char* name, bool digitsOnly)
{
    auto* field = place(new QLineEdit(parent), x, y, width, 14, name);
    if (digitsOnly)
        field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
    return field;
}

// A default-style button takes Enter while it has the focus; elsewhere Enter presses OK.
QPushButton* button(QWidget* parent, const QString& text, int x, int y, const char* name, bool defaultStyle = false)
{
    auto* push = place(new QPushButton(text, parent), x, y, 50, 14, name);
    push->setAutoDefault(defaultStyle);
    return push;
}

// Index of the first entry that begins with text (letters in either case), searching from the
// second entry and wrapping round to the first; -1 when none does.
int findPrefix(const QComboBox& list, const QString& text)
{
    const int count = list.count();
    for (int step = 1; step <= count; ++step) {
        const int i = step % count;
        if (list.itemText(i).startsWith(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

} // namespace

CPrintDlg::CPrintDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("VarnekJPG Print"));
    setDialogTemplate(*this, 639, 389);

    auto* ok = button(this, tr("OK"), 505, 368, "ok");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(button(this, tr("Cancel"), 570, 368, "cancel"), &QPushButton::clicked, this, &QDialog::reject);
    connect(button(this, tr("Print"), 421, 368, "print", true), &QPushButton::clicked, this, &CPrintDlg::OnPrint);

    m_printerList = place(new QComboBox(this), 29, 39, 192, 14, "printerList");
    connect(m_printerList, &QComboBox::activated, this, &CPrintDlg::OnPrinterChanged);
    connect(m_printerList, &QComboBox::currentTextChanged, this, [this](const QString& printer) {
        if (!printer.isEmpty())
            askResolution(printer);
    });

    place(new QGroupBox(tr("Paper Orientation"), this), 30, 72, 132, 42);
    m_portrait = radio(this, tr("Portrait"), 41, 83, 40, "portrait");
    m_landscape = radio(this, tr("Landscape"), 41, 98, 50, "landscape");
    connect(m_portrait, &QRadioButton::clicked, this, &CPrintDlg::OnPortrait);
    connect(m_landscape, &QRadioButton::clicked, this, &CPrintDlg::OnLandscape);

    place(new QGroupBox(tr("Standard paper sizes"), this), 295, 13, 224, 88);
    m_allPaperSizes = radio(this, tr("All paper sizes"), 324, 27, 150, "allPaperSizes");
    m_residentPaperSizes = radio(this, tr("Printer resident paper sizes"), 324, 44, 150, "residentPaperSizes");
    connect(m_allPaperSizes, &QRadioButton::clicked, this, &CPrintDlg::OnAllPaperSizes);
    connect(m_residentPaperSizes, &QRadioButton::clicked, this, &CPrintDlg::OnPrinterResidentPaperSizes);
    m_paperList = place(new QComboBox(this), 312, 64, 192, 14, "paperList");
    m_paperList->setMaxVisibleItems(20);
    connect(m_paperList, &QComboBox::activated, this, &CPrintDlg::OnPaperChanged);
    m_sizeLabel = place(new QLabel(tr("Size"), this), 314, 82, 191, 12, "sizeLabel");
    m_previewFrame = place(new QFrame(this), 307, 124, 234, 121, "previewFrame");
    m_previewFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    place(new QGroupBox(tr("Custom paper size width and height in mm"), this), 29, 127, 217, 55);
    m_customPaperSize = radio(this, tr("Custom paper size"), 45, 140, 105, "customPaperSize");
    connect(m_customPaperSize, &QRadioButton::clicked, this, &CPrintDlg::OnCustomPaperSize);
    connect(button(this, tr("Apply"), 158, 139, "applyCustomSize", true), &QPushButton::clicked, this, &CPrintDlg::OnApplyCustomSize);
    m_customWidth = edit(this, 45, 160, 60, "customWidth", true);
    place(new QLabel(tr("by"), this), 127, 162, 18, 10);
    m_customHeight = edit(this, 154, 160, 60, "customHeight", true);
    auto* dimensions = place(new QLabel(tr("Drawing dimensions"), this), 58, 202, 124, 17);
    dimensions->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    place(new QGroupBox(tr("Scaling"), this), 20, 218, 259, 114);
    m_scaling = place(new QSlider(Qt::Horizontal, this), 30, 229, 236, 25, "scaling");
    m_scaling->setTickPosition(QSlider::TicksBothSides);
    connect(m_scaling, &QSlider::valueChanged, this, &CPrintDlg::OnScalingCustomDraw);
    m_scalingEdit = edit(this, 45, 270, 60, "scalingEdit", true);
    connect(button(this, tr("Apply"), 143, 270, "applyScaling", true), &QPushButton::clicked, this, &CPrintDlg::OnApplyScaling);
    place(new QLabel(tr("Top margin"), this), 36, 299, 56, 14);
    m_topMargin = edit(this, 104, 299, 39, "topMargin", true);
    place(new QLabel(tr("Left margin"), this), 155, 299, 55, 14);
    m_leftMargin = edit(this, 222, 299, 39, "leftMargin", false);

    m_progress = place(new QProgressBar(this), 43, 355, 291, 9, "progress");
    m_progress->setTextVisible(false);
}

CPrintDlg::~CPrintDlg() = default;

unsigned CPrintDlg::EnumeratePrinters()
{
    PrinterAccess& access = printing::printerAccess();
    m_printers = {access.printerNames(), access.defaultPrinterName()};
    return static_cast<unsigned>(m_printers.names.size());
}

void CPrintDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        OnShowWindow();
}

void CPrintDlg::OnShowWindow()
{
    m_printerList->clear();
    const PrinterListData printers = std::exchange(m_printers, {});
    m_printerList->addItems(printers.names);
    const QString& defaultName = printers.defaultName;
    int selected = 0;
    for (int step = 1; step <= m_printerList->count(); ++step) {
        const int i = step % m_printerList->count();
        if (m_printerList->itemText(i).compare(defaultName, Qt::CaseInsensitive) == 0) {
            selected = i;
            break;
        }
    }
    m_printerList->setCurrentIndex(m_printerList->count() ? selected : -1);

    m_landscape->setChecked(true);
    m_scaling->setRange(kScaleMin, kScaleMax);
    m_scaling->setTickInterval(4);
    m_scaling->setValue(kScaleStart);
    OnScalingCustomDraw();
    setPaperMode(m_residentPaperSizes);
    OnPrinterChanged();
    m_topMargin->setText(QStringLiteral("0"));
    m_leftMargin->setText(QStringLiteral("0"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
}

void CPrintDlg::setPaperMode(QRadioButton* checked)
{
    for (QRadioButton* mode : {m_allPaperSizes, m_residentPaperSizes, m_customPaperSize})
        mode->setChecked(mode == checked);
}

void CPrintDlg::OnPortrait()
{
    m_portrait->setChecked(true);
    m_landscape->setChecked(false);
    UpdatePaperSize();
}

void CPrintDlg::OnLandscape()
{
    m_portrait->setChecked(false);
    m_landscape->setChecked(true);
    UpdatePaperSize();
}

void CPrintDlg::OnPrinterChanged()
{
    if (!m_residentPaperSizes->isChecked())
        return;
    m_paperList->clear();
    if (m_printerList->currentIndex() < 0)
        return;
    const std::optional<PrinterPapers> papers = printing::printerAccess().papers(m_printerList->currentText());
    if (!papers)
        return;
    m_printerPaperId = papers->currentPaperId;
    FillPrinterResidentPapers(papers->paperIds);
    // A name that begins another one moves the selection on to that one (a paper and its
    // rotated twin): the search starts at the second entry.
    const QString text = m_paperList->currentText().left(198);
    if (text.isEmpty())
        m_paperList->setCurrentIndex(m_paperList->count() ? 0 : -1);
    else if (const int found = findPrefix(*m_paperList, text); found >= 0)
        m_paperList->setCurrentIndex(found);
    UpdatePaperSize();
}

void CPrintDlg::FillPrinterResidentPapers(const QList<short>& paperIds)
{
    m_paperListPosition = 0;
    m_selectedPaperRow = 0;
    const auto table = paperSizeTable();
    for (const short id : paperIds) {
        const std::optional<int> row = paperRowById(id);
        if (!row)
            continue;
        m_paperList->addItem(QString::fromLatin1(table[*row].name));
        if (id == m_printerPaperId) {
            m_paperListPosition = m_paperList->count() - 1;
            m_selectedPaperRow = *row;
            m_sizeLabel->setText(paperSizeLabel(table[*row]));
        }
    }
    m_paperList->setCurrentIndex(m_paperList->count() ? m_paperListPosition : -1);
}

void CPrintDlg::OnPaperChanged()
{
    UpdatePaperSize();
}

void CPrintDlg::OnAllPaperSizes()
{
    m_paperListPosition = 0;
    m_selectedPaperRow = 0;
    setPaperMode(m_allPaperSizes);
    m_paperList->clear();
    const auto table = paperSizeTable();
    for (int row = 0; row < kPaperRowCount; ++row) {
        m_paperList->addItem(QString::fromLatin1(table[row].name));
        if (table[row].paperId == m_printerPaperId) {
            m_paperListPosition = row;
            m_selectedPaperRow = row;
            m_sizeLabel->setText(paperSizeLabel(table[row]));
        }
    }
    m_paperList->setCurrentIndex(m_paperListPosition);
}

void CPrintDlg::OnPrinterResidentPaperSizes()
{
    setPaperMode(m_residentPaperSizes);
    OnPrinterChanged();
}

void CPrintDlg::OnCustomPaperSize()
{
    setPaperMode(m_customPaperSize);
}

void CPrintDlg::OnApplyCustomSize()
{
    setPaperMode(m_customPaperSize);
    UpdatePaperSize();
}

std::optional<int> CPrintDlg::CurrentPaperRow() const
{
    if (m_allPaperSizes->isChecked()) {
        const int index = m_paperList->currentIndex();
        return index >= 0 ? std::optional<int>(index) : std::nullopt;
    }
    return paperRowByName(m_paperList->currentText().toLatin1().left(198));
}

void CPrintDlg::UpdatePaperSize()
{
    float width = 0;
    float height = 0;
    if (m_customPaperSize->isChecked()) {
        width = static_cast<float>(customPaperField(m_customWidth->text().left(199)));
        height = static_cast<float>(customPaperField(m_customHeight->text().left(199)));
    } else {
        const std::optional<int> row = CurrentPaperRow();
        if (!row) {
            m_sizeLabel->setText(tr("Unable to get paper size"));
            return;
        }
        const PaperSizeEntry& entry = paperSizeTable()[*row];
        m_selectedPaperRow = *row;
        m_sizeLabel->setText(paperSizeLabel(entry));
        width = static_cast<float>(entry.width);
        height = static_cast<float>(entry.height);
    }
    // A custom paper without an area has no shape: the frame keeps the one it has.
    if (const std::optional<QSize> shape = previewFrameSize(width, height, m_portrait->isChecked())) {
        m_previewFrame->setGeometry(QRect(kFrameCorner, *shape));
        m_previewFrame->show();
    }
    update();
}

void CPrintDlg::OnScalingCustomDraw()
{
    m_scalingEdit->setText(QString::number(m_scaling->value()));
}

void CPrintDlg::OnApplyScaling()
{
    m_scaling->setValue(clampedScale(m_scalingEdit->text()));
    OnScalingCustomDraw();
    update();
}

QString CPrintDlg::snapshotPath() const
{
    return QDir(m_programFolder).filePath(QStringLiteral("auto.jpg"));
}

void CPrintDlg::paintEvent(QPaintEvent*)
{
    if (isMinimized())
        return;
    QPainter painter(this);
    painter.translate(m_previewFrame->pos());
    DrawPreview(painter);
}

void CPrintDlg::DrawPreview(QPainter& painter)
{
    const QSize frame = m_previewFrame->size();
    const QSize bitmapSize(frame.width() - 6, frame.height() - 6);
    if (bitmapSize.isEmpty())
        return;
    const QImage& picture = decodedSnapshot();
    if (picture.isNull())
        return;

    int paperWidthMm = 0;
    int paperHeightMm = 0;
    if (m_customPaperSize->isChecked()) {
        paperWidthMm = customPaperField(m_customWidth->text());
        paperHeightMm = customPaperField(m_customHeight->text());
    } else if (const std::optional<int> row = CurrentPaperRow()) {
        paperWidthMm = paperSizeTable()[*row].width / 10;
        paperHeightMm = paperSizeTable()[*row].height / 10;
    }
    const PicturePart image = previewPicture(bitmapSize, m_scaling->value(), paperWidthMm, paperHeightMm,
                                             leadingInt(m_leftMargin->text()), leadingInt(m_topMargin->text()),
                                             picture.size());
    // Composed off screen, then shown in one transfer. What the picture leaves uncovered is paper.
    QImage bitmap(bitmapSize, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    {
        QPainter compose(&bitmap);
        if (!image.target.isEmpty())
            compose.drawImage(QRectF(image.target), picture, image.source);
    }
    painter.drawImage(QPoint(0, 3), bitmap);
}

const QImage& CPrintDlg::decodedSnapshot()
{
    // Every repaint of the dialog draws the preview (a blinking caret is enough): the picture is
    // decoded once and drawn from memory until the file changes.
    const QFileInfo file(snapshotPath());
    const QDateTime modified = file.exists() ? file.lastModified() : QDateTime();
    const qint64 size = file.exists() ? file.size() : -1;
    if (file.filePath() != m_preview.path || modified != m_preview.modified || size != m_preview.size) {
        m_preview = {file.filePath(), modified, size, QImage()};
        if (size >= 0)
            QImageReader(file.filePath()).read(&m_preview.image);
    }
    return m_preview.image;
}

void CPrintDlg::askResolution(const QString& printer)
{
    if (m_resolutions.count(printer))
        return;
    PrinterAccess* access = &printing::printerAccess();
    m_resolutions.emplace(printer, std::async(std::launch::async, [access, printer] {
        return printing::printResolution(access->statedResolution(printer));
    }));
}

int CPrintDlg::printResolution(const QString& printer)
{
    askResolution(printer);
    return m_resolutions.at(printer).get();
}

void CPrintDlg::OnPrint()
{
    if (m_printerList->currentIndex() < 0)
        return;
    const QString name = m_printerList->currentText();
    const std::unique_ptr<QPrinter> printer = printing::printerAccess().createPrinter(name, printResolution(name));
    if (!printer)
        return;
    if (m_customPaperSize->isChecked()) {
        const int width = customPaperField(m_customWidth->text());
        const int height = customPaperField(m_customHeight->text());
        // A custom paper without an area stays the printer's own paper.
        if (width > 0 && height > 0)
            printer->setPageSize(customPage(QSizeF(width, height)));
    } else {
        printer->setPageSize(pageSizeForRow(paperSizeTable()[m_selectedPaperRow]));
    }
    if (m_portrait->isChecked())
        printer->setPageOrientation(QPageLayout::Portrait);
    else if (m_landscape->isChecked())
        printer->setPageOrientation(QPageLayout::Landscape);

    PageSettings settings;
    settings.scale = m_scaling->value();
    settings.leftMargin = leadingInt(m_leftMargin->text());
    settings.topMargin = leadingInt(m_topMargin->text());
    settings.snapshotPath = snapshotPath();
    const bool printed = printSnapshot(*printer, settings, [this](int range, int position) {
        // A range of 0 would turn the bar into a busy indicator.
        m_progress->setRange(0, std::max(range, 1));
        m_progress->setValue(position);
    });
    if (!printed)
        platform::desktop().messageBox(kCaption, tr("Could not print on %1.").arg(name), platform::MessageIcon::Warning);
}
