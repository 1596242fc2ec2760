#pragma once
// The File menu's print commands: the program's own print dialog (Print...), and the page setup,
// print preview and direct print that print the window's drawing. Each stops the snapshot timer
// while it runs and lets it run again afterwards.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

// What the print commands need of the window they print from.
struct PrintSource {
    QPointer<QWidget> window;                          // owner of the dialogs, and what is drawn
    std::function<void()> pause;                        // stops the snapshot timer
    std::function<void()> resume;                       // lets it run again at its setting
    std::function<bool()> timerRunning;                 // whether it runs now
    std::function<void(QPainter&, int clientWidth)> draw; // the window's own drawing
};

class PrintCommands final {
public:
    explicit PrintCommands(PrintSource source);
    ~PrintCommands();

    // Print...: the print dialog on auto.jpg of the program folder.
    void OnFilePrintDialog();
    // Print Setup...: the page setup of the default printer, kept for the preview and the print.
    void OnFilePrintSetup();
    // Print Preview: the window's drawing on a page.
    void OnFilePrintPreview();
    // Print without a dialog: the window's drawing on the default printer.
    void OnFilePrint();

    // The printer that setup, preview and direct print share.
    QPrinter& printer();
    // Draws the window's picture on a page of the printer, scaled to the page's width.
    void drawOnPage(QPrinter& printer);

private:
    PrintSource m_source;
    std::unique_ptr<QPrinter> m_printer;
};
