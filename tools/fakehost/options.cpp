#include "options.h"

#include <cwchar>

namespace tellu::fakehost {

bool ParseOptions(const std::vector<std::wstring>& args, Options& out, std::wstring& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (i + 1 >= args.size()) {
      error = L"no value for " + arg;
      return false;
    }
    const std::wstring& value = args[++i];
    if (arg == L"--title") {
      out.title = value;
    } else if (arg == L"--ini") {
      out.ini = value;
    } else if (arg == L"--section") {
      out.section = value;
    } else if (arg == L"--key") {
      out.key = value;
    } else if (arg == L"--log") {
      out.log = value;
    } else if (arg == L"--name") {
      out.name = value;
    } else if (arg == L"--read" && (value == L"yes" || value == L"no")) {
      out.reads = value == L"yes";
    } else if (arg == L"--login" && (value == L"yes" || value == L"no")) {
      out.login = value == L"yes";
    } else if (arg == L"--port") {
      wchar_t* end = nullptr;
      const long port = wcstol(value.c_str(), &end, 10);
      if (value.empty() || *end || port <= 0 || port > 65535) {
        error = L"bad port " + value;
        return false;
      }
      out.port = static_cast<int>(port);
    } else {
      error = L"unknown option " + arg;
      return false;
    }
  }
  return true;
}

}  // namespace tellu::fakehost
