#pragma once
// Creating objects by class id. Classes are found under
// HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32 of our registry; their
// libraries are loaded on first use and unloaded, when they agree through
// DllCanUnloadNow, at the thread's last CoUninitialize.
#include "platform/com/Unknown.h"

extern "C" {
/// S_OK the first time on a thread, S_FALSE when the thread is already initialised.
COM_API HRESULT CoInitialize(void* reserved);
COM_API void CoUninitialize();
/// `context` must include an in-process context (7 is accepted). Fails with
/// CO_E_NOTINITIALIZED before CoInitialize, REGDB_E_CLASSNOTREG for a class
/// that is not registered, CO_E_DLLNOTFOUND when the library does not load and
/// CO_E_ERRORINDLL when it lacks DllGetClassObject.
COM_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** out);
/// The class object of a registered class, asked for by interface.
COM_API HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID iid, void** out);
/// Unloads every loaded library whose DllCanUnloadNow says S_OK.
COM_API void CoFreeUnusedLibraries();
/// In-process objects are always running: S_OK for any object.
COM_API HRESULT OleRun(IUnknown* object);
}

/// The entry points an in-process server exports with C linkage.
using DllGetClassObjectFn = HRESULT (*)(const GUID& clsid, const GUID& iid, void** out);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
