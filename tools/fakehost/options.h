// fakehost's command line.
#pragma once
#include <string>
#include <vector>

#include "relay/protocol.h"

namespace tellu::fakehost {

struct Options {
  std::wstring title;    // window caption; else the INI's Title, else "fakehost"
  std::wstring ini;      // configuration file name in the Windows directory
  std::wstring section;  // where the server host name is kept...
  std::wstring key;      // ...and under which key
  int port = kDefaultPort;
  std::wstring log;      // the record of messages and traffic
  std::wstring name = L"fakehost";  // the user name in the login
  bool reads = true;     // false: takes nothing from its connection after the login
  bool login = true;     // false: the test sends the login (remote.h) when it wants it
};

// --title T --ini NAME --section S --key K --port P --log FILE --name NAME
// --read yes|no --login yes|no.
// false (with a reason) on an unknown option or a missing value.
bool ParseOptions(const std::vector<std::wstring>& args, Options& out, std::wstring& error);

}  // namespace tellu::fakehost
