// The headless platform as the fuzz targets that drive the application object
// use it: message boxes and debugger texts are kept for tests to read and
// would only grow over millions of inputs, so each input can start with none;
// and the in-memory registry can give way to the file store the program uses.
#pragma once

#include "platform/headless/FillService.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/registry/FileRegistry.h"

#include <string>

class FuzzHeadlessPlatform : public Platform::HeadlessPlatform {
public:
    void ForgetRecords()
    {
        Platform::FillService<Platform::DialogService, Platform::HeadlessDialogs>(MutableServices().dialogs);
        Platform::FillService<Platform::DebugOutput, Platform::HeadlessDebugOutput>(MutableServices().debugOutput);
    }

    // A new file store that loads the file at path, in place of the registry.
    void UseFileRegistry(const std::string& path)
    {
        Platform::FillService<Platform::Registry, Platform::FileRegistry>(MutableServices().registry, path);
    }
};
