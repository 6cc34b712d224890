#include "SetupApi.h"

#include "SystemLibrary.h"

namespace {

SetupApi BindSetupApi()
{
    const char setupApi[] = "setupapi.dll";
    // The configuration manager moved into setupapi.dll with Windows 2000.
    static const char* const configManager[] = {"setupapi.dll", "cfgmgr32.dll"};
    SetupApi api;
    BindSystemFunction(api.getClassDevs, setupApi, "SetupDiGetClassDevsA");
    BindSystemFunction(api.enumDeviceInfo, setupApi, "SetupDiEnumDeviceInfo");
    BindSystemFunction(api.getDeviceRegistryProperty, setupApi, "SetupDiGetDeviceRegistryPropertyA");
    BindSystemFunction(api.removeDevice, setupApi, "SetupDiRemoveDevice");
    BindSystemFunction(api.destroyDeviceInfoList, setupApi, "SetupDiDestroyDeviceInfoList");
    BindSystemFunction(api.getParent, configManager, 2, "CM_Get_Parent");
    BindSystemFunction(api.getChild, configManager, 2, "CM_Get_Child");
    BindSystemFunction(api.getDevNodeRegistryProperty, configManager, 2, "CM_Get_DevNode_Registry_PropertyA");
    BindSystemFunction(api.getInfFileList, setupApi, "SetupGetInfFileListA");
    BindSystemFunction(api.uninstallOemInf, setupApi, "SetupUninstallOEMInfA");
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
