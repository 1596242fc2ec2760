// VarnekJPG: watches and drives a LAN IP camera from the folder it is started in.
#include "app/VarnekJPGApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CVarnekJPGApp program;
    if (!program.InitInstance(QApplication::arguments()))
        return program.ExitInstance(1);
    return program.ExitInstance(QApplication::exec());
}
