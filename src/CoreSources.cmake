# The sources of the libraries that need no window system, listed once for
# the build (src/CMakeLists.txt) and for the Windows check of the core
# (tools/windows/CMakeLists.txt). Paths are under src/.

# The download queue and its text helpers: the bottom layer.
set(tvx_queue_sources
  queue/DownloadItem.h
  queue/DownloadListTable.cpp queue/DownloadListTable.h
  queue/DownloadQueue.cpp queue/DownloadQueue.h
  queue/TextHelpers.cpp queue/TextHelpers.h)

# The platform core: files, the event pump, work aside, the registry and the
# connectivity test, with the system's own calls only.
set(tvx_platform_sources
  platform/AttributeValue.h platform/DiskFile.cpp platform/DiskFile.h
  platform/EventLoop.cpp platform/EventLoop.h
  platform/FileSystem.cpp platform/FileSystem.h
  platform/Timer.cpp platform/Timer.h
  platform/WorkAside.cpp platform/WorkAside.h
  platform/internet/Connectivity.cpp platform/internet/Internet.h
  platform/internet/HttpText.cpp platform/internet/HttpText.h
  platform/registry/Registry.h
  platform/registry/StoreDocument.cpp platform/registry/StoreDocument.h
  platform/registry/UserStore.cpp platform/registry/UserStore.h
  platform/registry/WindowsRegistry.cpp
  platform/seams/SeamHooks.h)
# The platform core's internet layer on libcurl.
set(tvx_platform_curl_sources
  platform/internet/CurlTransfer.cpp platform/internet/CurlTransfer.h
  platform/internet/InternetSession.cpp
  platform/internet/ProxyEnvironment.cpp platform/internet/ProxyEnvironment.h)
# The answers to the platform core's test seams: the tests' and the program's.
set(tvx_platform_seams_sources platform/seams/TestSeams.cpp platform/seams/TestSeams.h)
set(tvx_platform_noseams_sources platform/seams/NoSeams.cpp)

# Site recognition, the page fetch's file and the resolvers.
set(tvx_resolve_sources
  resolve/ComposedLinks.cpp
  resolve/GoogleVideoLinks.cpp
  resolve/LinkHosts.h
  resolve/LinkSafety.cpp resolve/LinkSafety.h
  resolve/PageFile.cpp resolve/PageFile.h
  resolve/PageLinks.cpp
  resolve/ResolverSupport.cpp resolve/ResolverSupport.h
  resolve/SiteCode.cpp resolve/SiteCode.h
  resolve/TextSearch.cpp resolve/TextSearch.h
  resolve/UnescapeUrl.cpp resolve/UnescapeUrl.h
  resolve/VideoLinkDispatch.cpp resolve/VideoLinks.h)

# The download component. Its text rules (header blocks, continuing, URL
# parts, progress) need nothing of the internet layer's libcurl side.
set(tvx_transfer_sources
  transfer/Connectivity.cpp
  transfer/ContinueRules.cpp transfer/ContinueRules.h
  transfer/Download.cpp transfer/Download.h transfer/DownloadState.h
  transfer/HeaderBlock.cpp transfer/HeaderBlock.h
  transfer/RequestInformation.cpp
  transfer/TransferFile.cpp
  transfer/TransferProgress.cpp transfer/TransferProgress.h
  transfer/UrlText.cpp)

# The registry class and the program's two settings.
set(tvx_settings_sources
  settings/AppSettings.cpp settings/AppSettings.h
  settings/CRegister.cpp settings/CRegister.h)

# The download run, its naming of files and its reasons: no window.
set(tvx_scheduler_sources
  scheduler/CurrentItem.cpp scheduler/CurrentItem.h
  scheduler/DownloadRun.cpp
  scheduler/DownloadScheduler.cpp scheduler/DownloadScheduler.h
  scheduler/FailureReasons.cpp scheduler/FailureReasons.h
  scheduler/FileNames.cpp scheduler/FileNames.h
  scheduler/FinishNotices.cpp scheduler/FinishNotices.h
  scheduler/Guarded.h
  scheduler/ItemPreparation.cpp
  scheduler/LocalFileInfo.cpp scheduler/LocalFileInfo.h
  scheduler/PageFetch.cpp
  scheduler/PageResolution.cpp scheduler/PageResolution.h
  scheduler/RunHost.h
  scheduler/RunningItemAnchor.cpp scheduler/RunningItemAnchor.h
  scheduler/RunState.cpp scheduler/RunState.h
  scheduler/StartStopToggle.cpp
  scheduler/TransferEvents.cpp
  scheduler/TransferRate.cpp scheduler/TransferRate.h
  scheduler/VideoFile.cpp scheduler/VideoFile.h)
