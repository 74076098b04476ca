// The exports of sondrelengine.dll.
#include <windows.h>
#include <ole2.h>

#include "engine/core/ClassTable.h"
#include "engine/core/ComBase.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    engine::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  return engine::GetClassObject(clsid, riid, ppv);
}

HRESULT WINAPI DllCanUnloadNow() { return engine::ModuleCanUnload() ? S_OK : S_FALSE; }

HRESULT WINAPI DllRegisterServer() { return engine::RegisterServer(); }

HRESULT WINAPI DllUnregisterServer() { return engine::UnregisterServer(); }

}  // extern "C"
