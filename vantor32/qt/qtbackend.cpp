#include "vantor32qt/qtbackend.h"

#include "qtplatform.h"

namespace vantor32qt {

QtBackend::QtBackend() : platform_(std::make_unique<QtPlatform>()) {
    vantor32::InstallPlatform(&platform_->Ops());
}

QtBackend::~QtBackend() {
    vantor32::InstallPlatform(nullptr);
}

void QtBackend::SetScreenSource(ScreenSource source) {
    platform_->SetScreenSource(std::move(source));
}

} // namespace vantor32qt
