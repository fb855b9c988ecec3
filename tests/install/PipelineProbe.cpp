// Child process for the endings that end the process:
//   pipeline_probe worker <install root> <download host> <stats host>
//   pipeline_probe launch <install folder>
// Exit code 0 comes only from the lobby start ending the process; 7 and 8 mean the call
// returned instead.
#include <windows.h>

#include <cstring>
#include <string>

#include "app/Config.h"
#include "app/Text.h"
#include "install/InstallWorker.h"
#include "install/LobbyLaunch.h"
#include "tests/install/RecordingHost.h"

int main(int argc, char** argv) {
  if (argc == 5 && strcmp(argv[1], "worker") == 0) {
    std::wstring root = FromAnsi(argv[2]);
    CopyBounded(InstallRoot, InstallRootSize, root.c_str());
    CopyBounded(DownloadHost, HostTextSize, argv[3]);
    CopyBounded(DownloadPath, DownloadPathSize, "/tez_lobby.zip");
    ChannelId = 200064;
    InstallPhase.store(Downloading);
    RecordingHost host(root + L"Tolmaro\\");
    InstallWorkerSettings settings;
    settings.attemptLimit = 20;
    settings.statsHost = argv[4];
    InstallWorker(host, settings).Run();
    return 7;
  }
  if (argc == 3 && strcmp(argv[1], "launch") == 0) {
    LaunchInstalledLobby(FromAnsi(argv[2]).c_str());
    return 8;
  }
  return 2;
}
