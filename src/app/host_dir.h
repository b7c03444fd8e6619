// The host's installation folder of a slot: named in the host's own
// configuration file, else found in the registry.
#pragma once
#include <string>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace tellu {

// Empty when neither place names it.  The text is as stored, without a
// backslash added.
std::string HostProgramDir(Profile& tellu_ini, Files& files, Registry& registry,
                           const std::string& windows_dir, const std::string& slot_section);

}  // namespace tellu
