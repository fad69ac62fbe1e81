veltrix_fuzz(cue_text_fuzz SOURCES cue_text_fuzz.cpp LIBS veltrix_tracks)
