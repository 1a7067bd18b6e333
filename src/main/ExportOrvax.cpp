// ExportOrvax: the vault operator's export tool. It takes no arguments: it
// works on the suite found from the directory it is started in, shows its
// main window and runs until the operator ends the work. An exception that
// escapes is shown in a message box; the program returns 0 in every case.
#include <QApplication>
#include <QMessageBox>
#include <exception>

#include "core/Text.h"
#include "ui/OutputProgram.h"

namespace {

void showEscapedException(const char* what) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("ExportOrvax"),
                    QString::fromStdU16String(text::toWide(what)), QMessageBox::Ok);
    box.exec();
}

}  // namespace

int main(int argc, char** argv) {
    // The window library sees the program's name only: no option reaches it.
    static int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("ExportOrvax"));
    try {
        OutputProgram program;
        program.show();
        QApplication::exec();
        program.finish();
    } catch (const std::exception& error) {
        showEscapedException(error.what());
    } catch (...) {
        showEscapedException("");
    }
    return 0;
}
