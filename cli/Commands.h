// The velkaris-cli subcommands. Each returns the process exit status and prints
// failures with the system's own message text.
#pragma once

namespace vk::cli {

int RunProbe(int argc, char** argv);   // velkaris-cli probe FILE...
int RunDiag(int argc, char** argv);    // velkaris-cli diag FILE
int RunPlay(int argc, char** argv);    // velkaris-cli play FILE [options]
int RunExport(int argc, char** argv);  // velkaris-cli export FILE -o OUT.wav [options]
int RunPlaylist(int argc, char** argv);  // velkaris-cli playlist [--restore M3U] PATH... [--save OUT.m3u]
int RunKeys(int argc, char** argv);    // velkaris-cli keys FILE --pos FRAMES|--at SECONDS [options]
int RunLyrics(int argc, char** argv);  // velkaris-cli lyrics AUDIOFILE
int RunRender(int argc, char** argv);
int RunMarkers(int argc, char** argv); // velkaris-cli markers FILE [--store MARKERS.INI]  // velkaris-cli render FILE --pos FRAMES|--at SECONDS -o OUT.png [options]

}  // namespace vk::cli
