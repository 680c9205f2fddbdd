#pragma once
// Why an item ended "ERROR" or "Cancelled", in one plain sentence with what to
// do, kept beside the queue by page address (DownloadItem keeps its five
// fields). The grid shows it as the tool tip of the item's row. Windowless.

#include <cstdint>
#include <string>

namespace tollivex {

struct DownloadItem;

/// Remembers the sentence for the item of `pageAddress`, replacing an earlier one.
void NoteFailureReason(const std::string& pageAddress, const std::string& sentence);
/// Forgets the item's sentence (it is being tried again).
void ForgetFailureReason(const std::string& pageAddress);
/// Forgets the sentences of items no longer in the queue.
void ForgetReasonsOfRemovedItems();
/// The sentence to show for the item: its reason while its status is "ERROR"
/// or "Cancelled", else "".
std::string ReasonShownFor(const DownloadItem& item);

// The sentences.

/// The host of an address ("www.youtube.com" of "http://www.youtube.com:80/watch?v=1").
std::string HostOfAddress(const std::string& address);

/// The page could not be fetched: `status` is the server's answer, 0 for none.
std::string PageNotFetched(const std::string& pageAddress, int status);
std::string PageBrokeOff();
std::string ScratchFileNotWritten();
std::string PageHoldsNoVideo();
std::string NotSupported();
std::string VideoNotAnswered(const std::string& link, int status);
/// Fewer (or more) bytes than announced: `announced` is -1 when unknown.
std::string VideoEndedEarly(std::int64_t received, double announced);
std::string VideoDenied();
std::string FolderNotWritten();
std::string StoppedByUser(std::int64_t received, double announced);
std::string FailedInside();

} // namespace tollivex
