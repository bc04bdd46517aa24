#pragma once
// The library's lock count: live objects, outstanding class-object
// references and LockServer locks. DllCanUnloadNow says S_OK at zero.
void ModuleLock();
void ModuleUnlock();
long ModuleLockCount();
