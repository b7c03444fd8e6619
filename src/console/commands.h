// The console's input: a plain line is text typed into the bar and sent
// with Enter; a line starting with "/" is a command standing in for the
// bar's menus and keys.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "chat/movement.h"
#include "console/display_text.h"
#include "console/terminal.h"

namespace tellu {

struct Command {
  enum class Kind {
    kType,        // text: typed into the bar, then Enter
    kStatus,      // number: 0..6
    kRequest,     // text: whose avatar file to ask for
    kAvatars,     // list the avatar change menu
    kWear,        // number: entry of that list, from 1
    kGhost,       // alternate: frozen (Shift+F3)
    kKey,         // key
    kReply,       // F4; alternate: Shift+F4
    kTableList,
    kTableSend,   // number: entry 1..16; text: the bar's text
    kWho,
    kMute,        // text: handle
    kUnmute,      // text: handle
    kMutes,
    kWhispers,    // text: "on", "off" or empty for the other state
    kHelp,
    kQuit,
    kBad,         // text: what is wrong
  };
  Kind kind = Kind::kType;
  int number = 0;
  bool alternate = false;
  MoveKey key = MoveKey::kHome;
  std::string text;
};

// One input line, already Shift-JIS, without its line end.  "//" stands for
// a typed line that starts with "/".
Command ParseCommand(std::string_view line);

// The /help text.
extern const char kCommandHelp[];

// The standard-error line, UTF-8, for a peer's offer, push or fetch that
// this side never asked for.
std::string RefusalText(Refusal what, const std::string& name, const std::string& reference);

class Commands {
 public:
  Commands(Session& session, Terminal& terminal);

  // Runs one input line.  False for /quit: the caller ends the run.
  bool Run(std::string_view line);
  // A typed line that cannot be sent as typed is reported and not run.
  bool Run(const TypedLine& line);

 private:
  void Type(const std::string& text);
  void Reply(bool whisperer);
  void TableList();
  void TableSend(int entry, const std::string& text);
  void Who();
  void Mute(const std::string& name, bool mute);
  void Mutes();
  void Avatars(bool print);
  void Wear(int entry);
  void Request(const std::string& name);
  bool NeedChat();

  Session& session_;
  Terminal& out_;
  // The bar's text field between lines: where F4 puts a reply name.
  std::string field_;
  // The menu commands of the last avatar list, by entry.
  std::vector<int> avatar_commands_;
};

}  // namespace tellu
