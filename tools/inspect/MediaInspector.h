#pragma once

// veltrix-inspect links neither FFmpeg nor GStreamer, so that reading a subtitle file starts in a
// few milliseconds instead of loading a hundred and fifty libraries. The commands that demux or
// decode a video (tracks, sync, subtitles --track) are answered by the media inspector installed
// beside it: this replaces the running process with it, on the same command line (argv as main
// received it), so its output and exit status are the command's own. Returns only when the media
// inspector cannot be started, after saying why on standard error.
void HandToMediaInspector(char** argv);
