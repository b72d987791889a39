// The yardstick for the command line's start: a Qt Core program that starts
// and ends.
#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return 0;
}
