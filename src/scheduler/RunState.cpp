#include "scheduler/RunState.h"

#include "transfer/Download.h"

namespace tollivex {

TransferResult TransferResultOf(const std::string& sErrorDescription)
{
    if (sErrorDescription == kCouldNotFindUrl)
        return TransferResult::CouldNotFindUrl;
    if (sErrorDescription == kCouldNotReadUrl)
        return TransferResult::CouldNotReadUrl;
    if (sErrorDescription == kCouldNotWriteFile)
        return TransferResult::CouldNotWriteFile;
    return TransferResult::OtherError;
}

bool RunState::IsWorkingOn(const std::string& pageAddress) const
{
    return bDownloading_ && !sCurrentAddress_.empty() && sCurrentAddress_ == pageAddress;
}

bool RunState::IsTransferringVideoOf(const std::string& pageAddress) const
{
    return IsWorkingOn(pageAddress) && !bFetchingPage_;
}

void RunState::BeginRun()
{
    bStopRequested_ = false;
    bDownloading_ = true;
}

void RunState::EndRun()
{
    bDownloading_ = false;
    sCurrentAddress_.clear();
}

void RunState::WorkOn(std::int16_t index, const std::string& pageAddress)
{
    iCurrentIndex_ = index;
    sCurrentAddress_ = pageAddress;
}

} // namespace tollivex
