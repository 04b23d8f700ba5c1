// The site survey's table of answering nodes: entries, their ten-slot ring of replies, the
// address order and the figures shown for each.
#pragma once

#include <array>
#include <cstdint>

#include "driver/card_state.h"

namespace vz {

constexpr int kNodeTableSize = 100;
constexpr int kSurveySlots = 10;

struct NodeEntry {
    char address[kNodeAddressTextSize] = "";
    std::array<int, kSurveySlots> replies{};
    std::array<int, kSurveySlots> signal{};  // -1: no reply in that slot
    int signalPercent = 0;
    int linkQuality = 0;
    int slotsSeen = 0;
};

class NodeTable {
  public:
    // What one reply did to the table.
    enum class Reply { kCounted, kMasterAdded, kNodeAdded, kDropped };

    // Empties the table (the entries themselves are reused as they are added again).
    void Reset();
    // Counts a reply from `address` (12 hexadecimal digits) against the current slot; entry 0
    // is kept for `masterAddress`.
    Reply TakeReply(const char* address, int signal, const char* masterAddress);
    void AddNode(int entry, const char* address, int signal);
    // Moves the ring on one slot and clears it for every entry.
    void Advance();
    // Link quality and signal percent of every entry from its ring.
    void ComputeFigures();

    const NodeEntry& Entry(int entry) const { return entries_[entry]; }
    // The entry shown at `position` of the address order.
    int ByAddress(int position) const { return addressOrder_[position]; }
    int HighestEntry() const { return highestEntry_; }
    int NodeCount() const { return nodeCount_; }
    int CurrentSlot() const { return currentSlot_; }
    bool MasterHeard() const { return masterHeard_; }

  private:
    std::array<NodeEntry, kNodeTableSize> entries_{};
    std::array<int, kNodeTableSize> addressOrder_{};
    int highestEntry_ = -1;
    int nodeCount_ = 0;
    int currentSlot_ = 1;
    bool masterHeard_ = false;
};

}  // namespace vz
