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
    // Stay loaded for the life of the process: the native libraries below us
    // (sound server threads, codec tables) cannot be unloaded and loaded again,
    // and COM frees idle in-process servers at every CoUninitialize.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&DllMain), &self);
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
