#include "SetupApi.h"

#include "SystemLibrary.h"

namespace {

template <typename Fn> void Bind(Fn& function, const char* const* libraries, int count, const char* name)
{
    function = reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemFunction(libraries, count, name)));
}

SetupApi BindSetupApi()
{
    static const char* const setupApi[] = {"setupapi.dll"};
    // The configuration manager moved into setupapi.dll with Windows 2000.
    static const char* const configManager[] = {"setupapi.dll", "cfgmgr32.dll"};
    SetupApi api;
    Bind(api.getClassDevs, setupApi, 1, "SetupDiGetClassDevsA");
    Bind(api.enumDeviceInfo, setupApi, 1, "SetupDiEnumDeviceInfo");
    Bind(api.getDeviceRegistryProperty, setupApi, 1, "SetupDiGetDeviceRegistryPropertyA");
    Bind(api.removeDevice, setupApi, 1, "SetupDiRemoveDevice");
    Bind(api.destroyDeviceInfoList, setupApi, 1, "SetupDiDestroyDeviceInfoList");
    Bind(api.getParent, configManager, 2, "CM_Get_Parent");
    Bind(api.getChild, configManager, 2, "CM_Get_Child");
    Bind(api.getDevNodeRegistryProperty, configManager, 2, "CM_Get_DevNode_Registry_PropertyA");
    Bind(api.getInfFileList, setupApi, 1, "SetupGetInfFileListA");
    Bind(api.uninstallOemInf, setupApi, 1, "SetupUninstallOEMInfA");
    return api;
}

}  // namespace

bool SetupApi::CanRemoveDevices() const
{
    return getClassDevs && enumDeviceInfo && getDeviceRegistryProperty && removeDevice && destroyDeviceInfoList &&
           getParent && getChild && getDevNodeRegistryProperty;
}

const SetupApi& SystemSetupApi()
{
    static const SetupApi api = BindSetupApi();
    return api;
}
