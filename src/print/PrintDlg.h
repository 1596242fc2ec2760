#pragma once
// The program's own print dialog: printer, paper (the printer's papers, every paper of the table,
// or a custom size in millimetres), orientation, scale and margins, a preview of the snapshot on
// the paper's shape, and Print, which sends auto.jpg of the program folder as one page.

#include <QDateTime>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <future>
#include <map>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;

// The printers handed from the print command to the dialog, which takes them on its first show.
struct PrinterListData {
    QStringList names;
    QString defaultName;
};

class CPrintDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CPrintDlg(QWidget* parent = nullptr);
    ~CPrintDlg() override;

    // The folder whose auto.jpg the preview and the print read.
    void setProgramFolder(const QString& folder) { m_programFolder = folder.left(499); }
    // Takes the printers from the printing system for the first show; returns their number.
    unsigned EnumeratePrinters();

    void OnShowWindow();
    void OnPortrait();
    void OnLandscape();
    void OnPrinterChanged();
    void OnPaperChanged();
    void OnAllPaperSizes();
    void OnPrinterResidentPaperSizes();
    void OnCustomPaperSize();
    void OnApplyCustomSize();
    void OnScalingCustomDraw();
    void OnApplyScaling();
    void OnPrint();

    void FillPrinterResidentPapers(const QList<short>& paperIds);
    // The table row of the paper in the list, if any.
    std::optional<int> CurrentPaperRow() const;
    void UpdatePaperSize();
    // Draws the preview with the painter's origin at the preview frame's corner.
    void DrawPreview(QPainter& painter);

    int selectedPaperRow() const { return m_selectedPaperRow; }
    short printerPaperId() const { return m_printerPaperId; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString snapshotPath() const;
    void setPaperMode(QRadioButton* checked);
    // The snapshot as decoded last; decoded again only when the file has changed.
    const QImage& decodedSnapshot();
    // Asks the printer for its resolution on a thread of its own as soon as it is chosen, once:
    // the printing system may take seconds to answer, and Print should not wait for it.
    void askResolution(const QString& printer);
    // The resolution a page for the printer is composed at; waits only for an answer still due.
    int printResolution(const QString& printer);

    QComboBox* m_printerList;
    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QRadioButton* m_allPaperSizes;
    QRadioButton* m_residentPaperSizes;
    QComboBox* m_paperList;
    QLabel* m_sizeLabel;
    QFrame* m_previewFrame;
    QRadioButton* m_customPaperSize;
    QLineEdit* m_customWidth;
    QLineEdit* m_customHeight;
    QSlider* m_scaling;
    QLineEdit* m_scalingEdit;
    QLineEdit* m_topMargin;
    QLineEdit* m_leftMargin;
    QProgressBar* m_progress;

    short m_printerPaperId = 9; // A4
    int m_paperListPosition = 0;
    int m_selectedPaperRow = 0;
    QString m_programFolder;
    PrinterListData m_printers;
    // Each read runs on its own thread; the dialog's end waits for any that is still running.
    std::map<QString, std::shared_future<int>> m_resolutions;

    struct DecodedPicture {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        QImage image;
    } m_preview;
};
