#include "console/commands.h"

#include <cstdio>
#include <functional>

#include "bar/typed_line.h"
#include "avatar/avatar_menu.h"
#include "bar/key_actions.h"
#include "bar/text_limit.h"
#include "chat/objects.h"
#include "chat/status.h"
#include "console/display_text.h"

namespace tellu {
namespace {

using Kind = Command::Kind;

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A whole decimal number within [low, high].
bool Number(std::string_view s, int low, int high, int& out) {
  if (s.empty() || s.size() > 6) return false;
  int v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v < low || v > high) return false;
  out = v;
  return true;
}

Command Bad(std::string text) {
  Command c;
  c.kind = Kind::kBad;
  c.text = std::move(text);
  return c;
}

Command Of(Kind kind) {
  Command c;
  c.kind = kind;
  return c;
}

struct KeyName {
  std::string_view name;
  MoveKey key;
};
constexpr KeyName kKeys[] = {
    {"pageup", MoveKey::kPageUp},       {"pagedown", MoveKey::kPageDown},
    {"home", MoveKey::kHome},           {"ctrl-left", MoveKey::kCtrlLeft},
    {"ctrl-right", MoveKey::kCtrlRight}, {"ctrl-up", MoveKey::kCtrlUp},
    {"ctrl-down", MoveKey::kCtrlDown},
};

Command Named(Kind kind, std::string_view rest, const char* usage) {
  const std::string_view name = TrimBlanks(rest);
  if (name.empty()) return Bad(usage);
  Command c = Of(kind);
  c.text = std::string(name);
  return c;
}

Command Table(std::string_view rest) {
  rest = TrimBlanks(rest);
  if (rest.empty()) return Of(Kind::kTableList);
  const size_t blank = rest.find(' ');
  Command c = Of(Kind::kTableSend);
  if (!Number(rest.substr(0, blank), 1, kMessageCount, c.number))
    return Bad("usage: /table [N [TEXT]]  (N from 1 to 16)");
  if (blank != std::string_view::npos) c.text = std::string(rest.substr(blank + 1));
  return c;
}

}  // namespace

const char kCommandHelp[] =
    "A line without \"/\" is sent as typed into the bar (\"name:text\" whispers).\n"
    "  //text             send \"/text\"\n"
    "  /status N          set the status, 0..6\n"
    "  /request NAME      ask NAME for their avatar file\n"
    "  /avatars           list the avatars to change to;  /wear N  put on entry N\n"
    "  /ghost [frozen]    show or remove the ghost (F3, Shift+F3)\n"
    "  /key NAME          a virtual move, as the bar's key: pageup pagedown home\n"
    "                     ctrl-left ctrl-right ctrl-up ctrl-down\n"
    "  /f4 [shift]        the last speaker's (whisperer's) name before the next line\n"
    "  /table [N [TEXT]]  list the message table, or send entry N with TEXT\n"
    "  /who               the people around\n"
    "  /mute NAME  /unmute NAME  /mutes\n"
    "  /whispers [on|off] print only whispers from now on, or all chat again\n"
    "  /help  /quit";

std::string RefusalText(Refusal what, const std::string& name, const std::string& reference) {
  const std::string who = TerminalText(name), file = TerminalText(reference);
  switch (what) {
    case Refusal::kOffer:
      return "refused an avatar offer that was not asked for: " + who + " offered " + file;
    case Refusal::kPush:
      return "refused an avatar file that was not asked for: " + who + " sent " + file;
    case Refusal::kFetch:
      return "refused to send an avatar file that was not offered: " + who + " asked for " + file;
  }
  return {};
}

Command ParseCommand(std::string_view line) {
  if (line.empty() || line.front() != '/') {
    Command c;
    c.text = std::string(line);
    return c;
  }
  if (line.size() >= 2 && line[1] == '/') {
    Command c;
    c.text = std::string(line.substr(1));
    return c;
  }
  const size_t blank = line.find(' ');
  const std::string_view word = line.substr(0, blank);
  const std::string_view rest =
      blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
  const std::string_view arg = TrimBlanks(rest);

  if (word == "/status") {
    Command c = Of(Kind::kStatus);
    if (!Number(arg, 0, kStatusCount - 1, c.number)) return Bad("usage: /status N  (0..6)");
    return c;
  }
  if (word == "/request") return Named(Kind::kRequest, rest, "usage: /request NAME");
  if (word == "/avatars" && arg.empty()) return Of(Kind::kAvatars);
  if (word == "/wear") {
    Command c = Of(Kind::kWear);
    if (!Number(arg, 1, 999, c.number)) return Bad("usage: /wear N  (an entry of /avatars)");
    return c;
  }
  if (word == "/ghost" && (arg.empty() || arg == "frozen")) {
    Command c = Of(Kind::kGhost);
    c.alternate = !arg.empty();
    return c;
  }
  if (word == "/key") {
    for (const KeyName& k : kKeys) {
      if (arg != k.name) continue;
      Command c = Of(Kind::kKey);
      c.key = k.key;
      return c;
    }
    return Bad("usage: /key pageup|pagedown|home|ctrl-left|ctrl-right|ctrl-up|ctrl-down");
  }
  if (word == "/f4" && (arg.empty() || arg == "shift")) {
    Command c = Of(Kind::kReply);
    c.alternate = !arg.empty();
    return c;
  }
  if (word == "/table") return Table(rest);
  if (word == "/who" && arg.empty()) return Of(Kind::kWho);
  if (word == "/mute") return Named(Kind::kMute, rest, "usage: /mute NAME");
  if (word == "/unmute") return Named(Kind::kUnmute, rest, "usage: /unmute NAME");
  if (word == "/mutes" && arg.empty()) return Of(Kind::kMutes);
  if (word == "/whispers") {
    if (!arg.empty() && arg != "on" && arg != "off") return Bad("usage: /whispers [on|off]");
    Command c = Of(Kind::kWhispers);
    c.text = std::string(arg);
    return c;
  }
  if (word == "/help" && arg.empty()) return Of(Kind::kHelp);
  if (word == "/quit" && arg.empty()) return Of(Kind::kQuit);
  return Bad("unknown command: " + std::string(line) + "  (/help lists them; // sends a \"/\")");
}

Commands::Commands(Session& session, Terminal& terminal) : session_(session), out_(terminal) {}

bool Commands::NeedChat() {
  if (session_.chat()) return true;
  out_.Print("not available: no chat session");
  return false;
}

bool Commands::Run(const TypedLine& line) {
  if (line.refused.empty()) return Run(line.sjis);
  out_.Diagnostic(line.refused);
  return true;
}

bool Commands::Run(std::string_view line) {
  const Command c = ParseCommand(line);
  switch (c.kind) {
    case Kind::kType:
      Type(c.text);
      break;
    case Kind::kStatus:
      if (!NeedChat()) break;
      if (session_.chat()->state().status == c.number)
        out_.Print("[status] " + std::string(kTelluStatus[c.number].label) + " (unchanged)");
      session_.chat()->SetStatus(c.number);
      break;
    case Kind::kRequest:
      Request(c.text);
      break;
    case Kind::kAvatars:
      Avatars(true);
      break;
    case Kind::kWear:
      Wear(c.number);
      break;
    case Kind::kGhost:
      if (!NeedChat()) break;
      if (session_.chat()->state().current_avatar.empty()) {
        out_.Print("no avatar worn yet: no ghost to show");
        break;
      }
      session_.chat()->ToggleGhost(c.alternate);
      out_.Print(!session_.chat()->movement().ghost().Shown() ? "ghost removed"
                 : session_.chat()->movement().ghost().frozen ? "ghost shown, frozen"
                                                              : "ghost shown");
      break;
    case Kind::kKey: {
      if (!NeedChat()) break;
      session_.chat()->PressMoveKey(c.key);
      const Offsets& o = session_.chat()->movement().offsets();
      char text[96];
      std::snprintf(text, sizeof text, "offsets dx %d dy %d dz %d da %d", o.dx, o.dy, o.dz, o.da);
      out_.Print(text);
      break;
    }
    case Kind::kReply:
      Reply(c.alternate);
      break;
    case Kind::kTableList:
      TableList();
      break;
    case Kind::kTableSend:
      TableSend(c.number, c.text);
      break;
    case Kind::kWho:
      Who();
      break;
    case Kind::kMute:
    case Kind::kUnmute:
      Mute(c.text, c.kind == Kind::kMute);
      break;
    case Kind::kMutes:
      Mutes();
      break;
    case Kind::kWhispers:
      out_.SetWhispersOnly(c.text.empty() ? !out_.whispers_only() : c.text == "on");
      out_.Print(out_.whispers_only() ? "[whispers] only whispers are shown"
                                      : "[whispers] all chat is shown");
      break;
    case Kind::kHelp:
      out_.Print(kCommandHelp);
      break;
    case Kind::kQuit:
      return false;
    case Kind::kBad:
      out_.Print(c.text);
      break;
  }
  return true;
}

void Commands::Type(const std::string& text) {
  const std::vector<std::string> sends = TypedLineSends(field_, text);
  field_.clear();
  bool nothing = true;
  for (const std::string& s : sends) nothing = nothing && s.empty();
  if (!nothing && !session_.relay().HasServer())
    out_.Diagnostic("no server connection: nothing was sent");
  for (const std::string& s : sends) session_.Deliver(s);
}

void Commands::Reply(bool whisperer) {
  if (!NeedChat()) return;
  ChatCore& chat = *session_.chat();
  const std::string& name = whisperer ? chat.LastWhisperer() : chat.LastSpeaker();
  if (const auto text = ReplyText(name, field_)) {
    field_ = CutToLimit(*text);
    out_.Print("[F4] " + field_ + "  (the next line follows it)");
  } else {
    out_.Print(whisperer ? "nobody has whispered yet" : "nobody has spoken yet");
  }
  // The bar sends the virtual position again after F4, name or not.
  if (ResendsPosition(whisperer ? BarAction::kReplyWhisperer : BarAction::kReplySpeaker))
    chat.ApplyOffsets();
}

void Commands::TableList() {
  const auto& messages = session_.settings().settings().messages;
  bool any = false;
  for (int i = 0; i < kMessageCount; ++i) {
    if (messages[i].text.empty() && messages[i].label.empty()) continue;
    char number[8];
    std::snprintf(number, sizeof number, "%2d  ", i + 1);
    out_.Print(number + messages[i].label);
    any = true;
  }
  if (!any) out_.Print("the message table is empty");
}

void Commands::TableSend(int entry, const std::string& text) {
  if (session_.settings().settings().messages[entry - 1].text.empty())
    out_.Print("entry " + std::to_string(entry) + " is empty");
  if (!session_.relay().HasServer()) out_.Diagnostic("no server connection: nothing was sent");
  const Expansion e = session_.SendMessageEntry(entry - 1, CutToLimit(field_ + text));
  if (e.clears_field()) field_.clear();
}

void Commands::Who() {
  if (!NeedChat()) return;
  const ObjectTable& objects = session_.chat()->objects();
  bool any = false;
  for (int n = kFirstOther; n <= kLastObject; ++n) {
    const ObjectRecord& r = objects.Get(n);
    if (r.name.empty()) continue;
    std::string line = WhoLine(r);
    const Mark mark = MarkOf(r.pos);
    if (!mark.label.empty()) line += "  [" + std::string(mark.label) + "]";
    if (session_.settings().IsMuted(r.name)) line += "  (muted)";
    out_.Print(line);
    any = true;
  }
  if (!any) out_.Print("nobody around");
}

void Commands::Mute(const std::string& name, bool mute) {
  SettingsStore& store = session_.settings();
  if (!mute) {
    if (!store.IsMuted(name)) {
      out_.Print(name + " is not muted");
      return;
    }
    store.ToggleMute(name);
    out_.Print("unmuted " + name);
    return;
  }
  if (store.Mute(name) == MuteChange::MutedForTheRun)
    out_.Print("muted " + name + " for this run only, it will not be saved: " + name +
               " cannot be kept in the mute list");
  else
    out_.Print("muted " + name);
}

void Commands::Mutes() {
  const auto& list = session_.settings().settings().mute_list;
  const auto& run = session_.settings().run_mutes();
  if (list.empty() && run.empty()) {
    out_.Print("nobody is muted");
    return;
  }
  for (const std::string& name : list) out_.Print(name);
  for (const std::string& name : run) out_.Print(name + "  (this run only)");
}

void Commands::Avatars(bool print) {
  AvatarExchange* exchange = session_.avatar();
  if (!exchange) {
    out_.Print("not available yet");
    return;
  }
  avatar_commands_.clear();
  std::vector<std::string> labels;
  std::function<void(const Menu&, const std::string&)> walk = [&](const Menu& menu,
                                                                  const std::string& path) {
    for (const MenuItem& item : menu) {
      if (item.kind == MenuItem::Kind::kText) {
        avatar_commands_.push_back(item.command);
        labels.push_back(path + item.label);
      } else if (item.kind == MenuItem::Kind::kPopup) {
        walk(item.items, path + item.label + " > ");
      }
    }
  };
  walk(exchange->ChangeMenu(false), "");
  if (!print) return;
  if (labels.empty()) out_.Print("no avatar to change to yet");
  for (size_t i = 0; i < labels.size(); ++i) {
    char number[24];
    std::snprintf(number, sizeof number, "%2zu  ", i + 1);
    out_.Print(number + labels[i]);
  }
}

void Commands::Wear(int entry) {
  AvatarExchange* exchange = session_.avatar();
  if (!exchange) {
    out_.Print("not available yet");
    return;
  }
  if (avatar_commands_.empty()) Avatars(false);
  if (entry < 1 || entry > static_cast<int>(avatar_commands_.size())) {
    out_.Print("no entry " + std::to_string(entry) + " (see /avatars)");
    return;
  }
  exchange->OnMenuCommand(avatar_commands_[entry - 1]);
  if (session_.chat()) out_.Print("wearing " + session_.chat()->state().current_avatar);
}

void Commands::Request(const std::string& name) {
  AvatarExchange* exchange = session_.avatar();
  if (!exchange) {
    out_.Print("not available yet");
    return;
  }
  if (!session_.relay().HasServer()) {
    out_.Diagnostic("no server connection: nothing was sent");
    return;
  }
  exchange->RequestAvatar(name);
  out_.Print("asked " + name + " for their avatar file");
}

}  // namespace tellu
