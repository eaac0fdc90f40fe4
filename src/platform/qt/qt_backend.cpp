#include "platform/qt/qt_backend.h"

namespace corvane::platform {

struct QtBackend::Impl {};

QtBackend::QtBackend(int&, char**) {}
QtBackend::~QtBackend() = default;

}  // namespace corvane::platform
