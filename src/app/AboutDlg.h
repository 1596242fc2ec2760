#pragma once
// The About box.

#include <QDialog>

class CAboutDlg final : public QDialog {
    Q_OBJECT
public:
    enum { IDD = 100 };
    explicit CAboutDlg(QWidget* parent = nullptr);
};
