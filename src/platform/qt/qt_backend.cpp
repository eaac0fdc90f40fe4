#include "platform/qt/qt_backend.h"

#include "platform/events.h"
#include "platform/qt/qt_mirror.h"
#include "platform/qt/qt_program_ids.h"
#include "platform/qt/qt_pump.h"
#include "platform/qt/qt_services.h"
#include "platform/ui.h"

namespace corvane::platform {

struct QtBackend::Impl {
    Impl(int& argc, char** argv) : services(argc, argv, mirror) {}
    // The widgets go before the QApplication that the services own.
    ~Impl() { mirror.DeleteWidgets(); }
    UiMirror mirror;
    QtEventPump pump;
    QtServices services;
};

QtBackend::QtBackend(int& argc, char** argv, const ProgramIds& ids)
    : impl_(std::make_unique<Impl>(argc, argv)) {
    SetProgramIds(ids);
    QtServices& services = impl_->services;
    InstallServices({&services, &services, &services, &services, &services, &services});
    TheUi().SetObserver(&impl_->mirror);
    Events().SetPump(&impl_->pump);
}

QtBackend::~QtBackend() {
    Events().SetPump(nullptr);
    TheUi().SetObserver(nullptr);
    InstallServices({});
    SetProgramIds({});
}

}  // namespace corvane::platform
