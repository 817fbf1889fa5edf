#pragma once

#include "core/Registry.h"

// The system registry behind the settings store's interface.
class CWin32Registry : public reg::Registry {
public:
    std::unique_ptr<reg::Key> Open(reg::Root root, const char* path, reg::Access access) override;
    std::unique_ptr<reg::Key> Create(reg::Root root, const char* path) override;
};
