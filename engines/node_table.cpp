// The site survey's node table.
#include "engines/node_table.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "engines/signal_display.h"

namespace vz {

namespace {

// A slot that never ends (the broadcast keeps failing) must not count past the int range.
constexpr int kMaxRepliesPerSlot = 1000000;

}  // namespace

void NodeTable::Reset() {
    currentSlot_ = 1;
    highestEntry_ = -1;
    nodeCount_ = 0;
    masterHeard_ = false;
    addressOrder_[0] = 0;
}

NodeTable::Reply NodeTable::TakeReply(const char* address, int signal, const char* masterAddress) {
    signal = BoundedSignal(signal);
    const bool fromMaster = std::strcmp(address, masterAddress) == 0;
    if (fromMaster && !masterHeard_) {
        if (highestEntry_ == -1) {
            highestEntry_ = 0;
        }
        AddNode(0, address, signal);
        masterHeard_ = true;
        return Reply::kMasterAdded;
    }
    int found = fromMaster ? 0 : -1;
    for (int entry = 0; found < 0 && entry <= highestEntry_; ++entry) {
        if (std::strcmp(entries_[entry].address, address) == 0) {
            found = entry;
        }
    }
    if (found >= 0) {
        int& replies = entries_[found].replies[currentSlot_];
        replies = std::min(replies + 1, kMaxRepliesPerSlot);
        entries_[found].signal[currentSlot_] = signal;
        return Reply::kCounted;
    }
    if (highestEntry_ >= kNodeTableSize - 1) {
        return Reply::kDropped;
    }
    highestEntry_ = highestEntry_ == -1 ? 1 : highestEntry_ + 1;
    AddNode(highestEntry_, address, signal);
    return Reply::kNodeAdded;
}

void NodeTable::AddNode(int entry, const char* address, int signal) {
    if (entry < 0 || entry >= kNodeTableSize) {
        return;
    }
    NodeEntry& node = entries_[entry];
    node.replies.fill(0);
    node.signal.fill(-1);
    std::snprintf(node.address, sizeof node.address, "%s", address);
    node.slotsSeen = 1;
    node.replies[currentSlot_] = 1;
    node.signal[currentSlot_] = BoundedSignal(signal);
    nodeCount_ += 1;
    addressOrder_[entry] = entry;
    if (entry < 2) {
        return;
    }
    // Position 0 stays the Master's: the search starts at 1.
    int position = entry;
    for (int i = 1; i < entry; ++i) {
        if (strcasecmp(entries_[addressOrder_[i]].address, node.address) > 0) {
            position = i;
            break;
        }
    }
    std::copy_backward(addressOrder_.begin() + position, addressOrder_.begin() + entry,
                       addressOrder_.begin() + entry + 1);
    addressOrder_[position] = entry;
}

void NodeTable::Advance() {
    currentSlot_ = (currentSlot_ + 1) % kSurveySlots;
    for (int entry = 0; entry <= highestEntry_; ++entry) {
        NodeEntry& node = entries_[entry];
        node.replies[currentSlot_] = 0;
        node.signal[currentSlot_] = -1;
        node.slotsSeen = std::min(node.slotsSeen + 1, kSurveySlots);
    }
}

void NodeTable::ComputeFigures() {
    for (int entry = 0; entry <= highestEntry_; ++entry) {
        NodeEntry& node = entries_[entry];
        int64_t replies = 0;
        int64_t signalSum = 0;
        int64_t signals = 0;
        for (int slot = 0; slot < kSurveySlots; ++slot) {
            replies += node.replies[slot];
            if (node.signal[slot] != -1) {
                signalSum += node.signal[slot];
                signals += 1;
            }
        }
        node.linkQuality = 0;
        if (node.slotsSeen != 0) {
            const double quality = double(replies) / node.slotsSeen * 5.0 + 0.5;
            node.linkQuality = quality >= 5.0 ? 5 : static_cast<int>(quality);
        }
        node.signalPercent = ShownSignalPercent(signalSum, signals);
    }
}

}  // namespace vz
