// The registry the contract tests run against: the real one on Windows, the in-memory one
// elsewhere, so both are held to the same expectations. Both work below a scratch key.
#pragma once

#include <string>

#ifdef _WIN32
#include "platform/win32/registry_win32.h"
#else
#include "platform/fake/memory_registry.h"
#endif

namespace vz::test {

#ifdef _WIN32
using ContractRegistry = Win32Registry;
#else
using ContractRegistry = MemoryRegistry;
#endif

// Below System, where the adapter's keys live; created and deleted by each test.
inline const std::string kScratch = "System\\VzSettingsScratch";

}  // namespace vz::test
