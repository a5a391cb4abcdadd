// The editor's entry point.
#include "app/CVerdaxApp.h"

int main(int argc, char** argv)
{
    CVerdaxApp app(argc, argv);
    if (!app.InitInstance())
        return app.ExitInstance(1);
    return app.ExitInstance(app.exec());
}
