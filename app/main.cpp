#include <QApplication>

#include "app/kestrelink_app.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    kestrelink::CKestrelinkApp kestrelinkApp;
    return kestrelinkApp.InitInstance();
}
