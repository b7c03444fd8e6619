// The caption of a slot's host window, built from the slot's title
// template: literal pieces and "@" pieces naming files in the host folder.
#pragma once
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/registry.h"

namespace tellu {

struct HostTitle {
  std::string text;
  // False when the last "@" piece could not be read (true when there is
  // none); the title then does not name the host's window.
  bool usable = false;
};

// The template split at every "+": a piece starting with "@" is replaced by
// the first 128 bytes of that file in host_dir (which ends with a
// backslash); other pieces stay as they are.  A file that cannot be opened
// leaves an empty title.
HostTitle BuildHostTitle(std::string_view title_template, const std::string& host_dir,
                         Files& files);

// The title of a slot: its template from SYSTEM and the slot's host folder.
HostTitle HostTitleOfSlot(Profile& tellu_ini, Files& files, Registry& registry,
                          const std::string& windows_dir, int slot);

}  // namespace tellu
