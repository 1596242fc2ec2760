#include "app/AboutDlg.h"

#include "app/Artwork.h"
#include "platform/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kWidthUnits = 519;
constexpr int kHeightUnits = 166;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About VarnekJPG"));
    setDialogTemplate(*this, kWidthUnits, kHeightUnits);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(QPixmap::fromImage(programIconImage(32)));
    icon->move(dialogUnitsRect(14, 14, 0, 0).topLeft());
    icon->resize(32, 32);

    // Each text runs from its own left edge to the box's right margin and wraps where the
    // system's font is wider than the one the box was laid out for.
    const struct {
        int x;
        int y;
        const char* text;
    } texts[] = {
        {42, 14, QT_TR_NOOP("VarnekJPG, Version 1.0 for Windows 10 x32 and x64")},
        {25, 43, QT_TR_NOOP("VarnekJPG.exe is a Windows 10 Win32 program that gets a jpg file from an Varnek IP camera at regular intervals.")},
        {25, 61, QT_TR_NOOP("By default the program gets a new image from the IP Cam every second.  This allows you to monitor the view from the IP camera.")},
        {25, 79, QT_TR_NOOP("You can search on the web for URLs for other IP cameras and that should allow you to use this program with some of other makes of IP cameras.")},
        {26, 97, QT_TR_NOOP("720P IP cameras are most likely to work with this program.  Older VGA ones tend to use a different CGI script.")},
    };
    for (const auto& t : texts) {
        auto* label = new QLabel(tr(t.text), this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(dialogUnitsRect(t.x, t.y, kWidthUnits - 7 - t.x, 18));
    }

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(dialogUnitsRect(462, 145, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
