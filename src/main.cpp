#include "app/startup.h"
#include "platform/qt/qt_backend.h"

int main(int argc, char** argv) {
    corvane::CatchTerminationSignals();
    corvane::platform::QtBackend backend(argc, argv);
    corvane::RunProgram();
}
