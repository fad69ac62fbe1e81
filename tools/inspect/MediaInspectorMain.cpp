// veltrix-inspect-media: the commands of veltrix-inspect that demux or decode a video, on the
// same command line. veltrix-inspect starts it (MediaInspector.h); it is not on the PATH.
#include "InspectCommands.h"
#include "InspectorMain.h"

int main(int argc, char** argv)
{
    return RunInspector(argc, argv,
                        {{"subtitles", [](const QStringList& args) {
                              return InspectSubtitles(args, LoadTrack);
                          }},
                         {"tracks", InspectTracks},
                         {"sync", InspectSync}});
}
