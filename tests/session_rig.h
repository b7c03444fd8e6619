// A whole Session on the in-memory doubles, as the session and console tests
// build it: launched, its host and its server connection at hand.
#pragma once
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "app/session.h"
#include "platform/fake_files.h"
#include "platform/fake_net.h"
#include "platform/fake_shell.h"
#include "platform/fake_timers.h"
#include "platform/fake_ui.h"

namespace tellu {

struct SessionRig {
  Session& Make(Session::Places places, Session::Hooks hooks = {}) {
    session.emplace(Session::Ports{files, timers, ui, shell, registry, net}, std::move(places),
                    std::move(hooks));
    return *session;
  }

  // Begins, launches the first slot, lets the host connect on `listen` and
  // completes the connection to the server.
  void Launch(int listen) {
    ASSERT_TRUE(session->Begin());
    ASSERT_TRUE(session->Launch(0));
    host = net.Accept(listen);
    ASSERT_NE(host, nullptr);
    server = net.LastConnect();
    ASSERT_NE(server, nullptr);
    server->Complete();
  }

  FakeFiles files;
  FakeTimers timers;
  FakeUi ui;
  FakeShell shell;
  NoRegistry registry;
  FakeNet net;
  std::optional<Session> session;
  FakeNet::Peer* host = nullptr;
  FakeNet::Peer* server = nullptr;
};

}  // namespace tellu
