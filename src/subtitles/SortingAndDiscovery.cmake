# The sorter and the scoring of candidate subtitle files; Qt Core only. Included by this folder's
# CMakeLists.txt.
veltrix_library(veltrix_discovery
  SOURCES clsQuickSort.cpp SubtitleDiscovery.cpp
  LIBS veltrix_files Qt6::Core)
