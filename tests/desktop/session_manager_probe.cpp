// A minimal X session manager for desktop tests: it takes clients, asks each to save
// itself once it has registered, and writes every restart hint a client sets, one line
// "<client id> RestartStyleHint <value>". The address for SESSION_MANAGER goes to stdout.
//
//   session_manager_probe HINTS_FILE

#include <X11/SM/SMlib.h>
#include <poll.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Probe {
  std::ofstream hints;
  int clientCount = 0;
};

Probe* probeOf(SmPointer data) { return static_cast<Probe*>(data); }

Status registerClient(SmsConn conn, SmPointer, char* previousId) {
  char* id = previousId != nullptr ? previousId : SmsGenerateClientID(conn);
  SmsRegisterClientReply(conn, id);
  // Right away, as a desktop does when the user saves the session.
  SmsSaveYourself(conn, SmSaveLocal, False, SmInteractStyleNone, False);
  return 1;
}

void setProperties(SmsConn conn, SmPointer data, int count, SmProp** props) {
  char* id = SmsClientID(conn);
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(props[i]->name, SmRestartStyleHint) == 0 && props[i]->num_vals == 1 &&
        props[i]->vals[0].length >= 1) {
      const int hint = static_cast<unsigned char*>(props[i]->vals[0].value)[0];
      probeOf(data)->hints << (id != nullptr ? id : "?") << " RestartStyleHint " << hint
                           << std::endl;
    }
    SmFreeProperty(props[i]);
  }
  std::free(props);
  std::free(id);
}

void ignoreRequest(SmsConn, SmPointer, int) {}
void saveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void noArguments(SmsConn, SmPointer) {}
void saveYourselfDone(SmsConn, SmPointer, Bool) {}
void closeConnection(SmsConn conn, SmPointer, int count, char** reasons) {
  SmFreeReasons(count, reasons);
  IceConn ice = SmsGetIceConnection(conn);
  SmsCleanUp(conn);
  IceSetShutdownNegotiation(ice, False);
  IceCloseConnection(ice);
}
void deleteProperties(SmsConn, SmPointer, int count, char** names) {
  for (int i = 0; i < count; ++i) std::free(names[i]);
  std::free(names);
}

Status newClient(SmsConn, SmPointer data, unsigned long* mask, SmsCallbacks* callbacks,
                 char** failureReason) {
  *failureReason = nullptr;
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask |
          SmsSaveYourselfDoneProcMask | SmsCloseConnectionProcMask | SmsSetPropertiesProcMask |
          SmsDeletePropertiesProcMask | SmsGetPropertiesProcMask;
  callbacks->register_client = {registerClient, data};
  callbacks->interact_request = {ignoreRequest, data};
  callbacks->interact_done = {[](SmsConn, SmPointer, Bool) {}, data};
  callbacks->save_yourself_request = {saveYourselfRequest, data};
  callbacks->save_yourself_phase2_request = {noArguments, data};
  callbacks->save_yourself_done = {saveYourselfDone, data};
  callbacks->close_connection = {closeConnection, data};
  callbacks->set_properties = {setProperties, data};
  callbacks->delete_properties = {deleteProperties, data};
  callbacks->get_properties = {noArguments, data};
  ++probeOf(data)->clientCount;
  return 1;
}

Bool anyLocalHost(char*) { return True; }  // the tests' own display, no cookies

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s HINTS_FILE\n", argv[0]);
    return 2;
  }
  // A client that leaves at once, as a restored copy does, may be gone before our messages
  // reach it: that ends its connection, never the probe (and with it every other client's).
  std::signal(SIGPIPE, SIG_IGN);
  IceSetIOErrorHandler([](IceConn) {});
  Probe probe;
  probe.hints.open(argv[1]);
  char error[256] = "";
  if (!SmsInitialize("pq", "1", newClient, &probe, anyLocalHost, sizeof error, error)) {
    std::fprintf(stderr, "SmsInitialize: %s\n", error);
    return 1;
  }
  int listenCount = 0;
  IceListenObj* listeners = nullptr;
  if (!IceListenForConnections(&listenCount, &listeners, sizeof error, error)) {
    std::fprintf(stderr, "IceListenForConnections: %s\n", error);
    return 1;
  }
  for (int i = 0; i < listenCount; ++i) IceSetHostBasedAuthProc(listeners[i], anyLocalHost);
  char* address = IceComposeNetworkIdList(listenCount, listeners);
  std::printf("%s\n", address);
  std::fflush(stdout);
  std::free(address);

  std::vector<IceConn> connections;
  for (;;) {
    std::vector<pollfd> fds;
    for (int i = 0; i < listenCount; ++i)
      fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
    for (IceConn c : connections) fds.push_back({IceConnectionNumber(c), POLLIN, 0});
    if (poll(fds.data(), fds.size(), -1) < 0) continue;
    const std::size_t polled = connections.size();  // those accepted below have no entry yet
    for (int i = 0; i < listenCount; ++i) {
      if (!(fds[i].revents & POLLIN)) continue;
      IceAcceptStatus status;
      IceConn c = IceAcceptConnection(listeners[i], &status);
      if (c == nullptr) continue;
      IceConnectStatus state = IceConnectPending;
      while (state == IceConnectPending) {
        IceProcessMessages(c, nullptr, nullptr);
        state = IceConnectionStatus(c);
      }
      if (state == IceConnectAccepted)
        connections.push_back(c);
      else
        IceCloseConnection(c);
    }
    for (std::size_t i = 0; i < polled; ++i) {
      if (!(fds[listenCount + i].revents & (POLLIN | POLLHUP))) continue;
      const IceProcessMessagesStatus status = IceProcessMessages(connections[i], nullptr, nullptr);
      if (status == IceProcessMessagesIOError) {
        IceSetShutdownNegotiation(connections[i], False);
        IceCloseConnection(connections[i]);
      }
      // A connection closed by its client's goodbye is gone already: libICE freed it.
      if (status != IceProcessMessagesSuccess) {
        connections.erase(connections.begin() + static_cast<long>(i));
        break;
      }
    }
  }
}
