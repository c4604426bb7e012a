#include "platform/win32/Win32Registry.h"

#include "platform/win32/RegistryText.h"

namespace velmora {
namespace {

HKEY Hive(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RegistryRoot::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RegistryRoot::CurrentUser:
            break;
    }
    return HKEY_CURRENT_USER;
}

}  // namespace

std::string Win32Registry::GetString(RegistryRoot root, const std::string& subkey, const std::string& name) {
    return ReadRegistryText(Hive(root), subkey, name).value_or(std::string{});
}

bool Win32Registry::SetString(RegistryRoot root, const std::string& subkey, const std::string& name,
                              const std::string& value) {
    return WriteRegistryText(Hive(root), subkey, name, value);
}

}  // namespace velmora
