// The classes the engine module serves, with their creation functions. Each
// function makes a new object and hands it out as `riid` (see ComObject::Create).
#pragma once

#include <windows.h>

namespace engine {

using CreateFunction = HRESULT (*)(REFIID riid, void** ppv);

struct ClassEntry {
  const CLSID* clsid;
  const WCHAR* name;  // the registry's description of the class
  CreateFunction create;
};

// All classes, ending with an entry whose clsid is null.
const ClassEntry* EngineClasses();

// What the DLL's exports do.
void SetModuleInstance(HINSTANCE instance);
HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** ppv);
HRESULT RegisterServer();
HRESULT UnregisterServer();

// E1: src/engine/objects/
HRESULT CreatePropertyBag(REFIID riid, void** ppv);
HRESULT CreateMediaFile(REFIID riid, void** ppv);
HRESULT CreateMarkerList(REFIID riid, void** ppv);
HRESULT CreateAudioFormat(REFIID riid, void** ppv);
HRESULT CreateMp3Settings(REFIID riid, void** ppv);
HRESULT CreateAacSettings(REFIID riid, void** ppv);
HRESULT CreateProfileCollection(REFIID riid, void** ppv);
HRESULT CreateEngineAux(REFIID riid, void** ppv);
// E2: src/engine/objects/ (files marked as E2's)
HRESULT CreateConversionJob(REFIID riid, void** ppv);
HRESULT CreateSampleConverter(REFIID riid, void** ppv);
HRESULT CreateSampleBuffer(REFIID riid, void** ppv);
HRESULT CreateCaptureSource(REFIID riid, void** ppv);
HRESULT CreatePlayer(REFIID riid, void** ppv);

}  // namespace engine
