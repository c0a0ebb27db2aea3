// Finds the print dialog extension plug-ins in a folder and loads one: reads each bundle's
// "CFPlugInTypes" and "CFPlugInFactories", opens its executable and looks up the factory.
#ifndef HALYX_PANEHOST_PLUGINLOADER_H
#define HALYX_PANEHOST_PLUGINLOADER_H

#include <string>

#include "CoreFoundation/CFBundle.h"
#include "PrintCore/PMPrintDialogExtension.h"

namespace halyx::panehost {

class PluginLoader {
public:
    PluginLoader() {}
    // Closes the executable, releases the bundle and removes the mirror folder.
    ~PluginLoader();

    // `path` is a bundle folder or a folder of bundles; the first bundle that lists a factory for
    // the print dialog extension type is loaded. With `printerList`, the bundle is first mirrored
    // into a temporary folder whose Contents/PrinterList.plist is a copy of that file. False, with
    // `*message` saying why, when no such bundle exists or it cannot be loaded.
    bool Load(const std::string& path, const std::string& printerList, std::string* message);

    PMPlugInFactoryFunction Factory() const { return mFactory; }
    CFBundleRef Bundle() const { return mBundle; }

private:
    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

    // Opens the bundle at `bundlePath` when it has a factory for the type; false otherwise.
    bool Open(const std::string& bundlePath, std::string* message);
    bool Mirror(const std::string& bundlePath, const std::string& printerList,
                std::string* mirrored, std::string* message);
    void RemoveMirror();

    CFBundleRef mBundle = nullptr;
    void* mLibrary = nullptr;
    PMPlugInFactoryFunction mFactory = nullptr;
    std::string mMirrorRoot;
    std::string mMirrorBundle;
};

}  // namespace halyx::panehost

#endif  // HALYX_PANEHOST_PLUGINLOADER_H
