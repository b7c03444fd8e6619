// What the front end tells the avatar exchange about the host and the bar.
#pragma once
#include <string>

namespace tellu {

struct HostPlaces {
  std::string program_dir;  // the host program directory, ending in a backslash
  std::string bar_title;    // the input bar's window title
};

}  // namespace tellu
