// The directed link test's window: the test's figures as they come, and the packet slider.
#include "zazivev/survey/directed_link_dialog.h"

#include <string>
#include <utility>

#include "driver/card_text.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/app/copy_figures.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

constexpr uint32_t kTimerPeriodMs = 100;
constexpr int kMinPacketSize = 60;
constexpr int kMaxPacketSize = 1500;
constexpr int kTickSpacing = 10;

// The fields Copy Figures copies, under the window's own labels.
const std::pair<int, const char*> kFigureFields[] = {
    {IDC_LINK_ADDRESS, "Node Address"},
    {IDC_LINK_MASTER_NAME, "Master Name"},
    {IDC_LINK_PACKETS, "Packets/sec"},
    {IDC_LINK_BYTES, "Bytes/sec"},
    {IDC_LINK_SIGNAL, "Received Signal Strength"},
    {IDC_LINK_LATENCY, "Latency"},
    {IDC_LINK_MAXIMUM, "Maximum"},
    {IDC_LINK_DEVIATION, "Standard Deviation"},
    {IDC_LINK_SECONDS, "Total Seconds"},
    {IDC_LINK_AVERAGE_PACKETS, "Average Packets/sec"},
    {IDC_LINK_AVERAGE_BYTES, "Average Bytes/sec"},
    {IDC_LINK_AVERAGE_LATENCY, "Average Latency (msec)"},
    {IDC_LINK_PACKET_SIZE, "Packet Size Bytes"},
};

}  // namespace

DirectedLinkDialog::DirectedLinkDialog(ToolContext& context, std::string targetAddress,
                                       int packetSize)
    : Dialog(IDD_DIRECTED_LINK),
      context_(context),
      link_(context, std::move(targetAddress), packetSize, *this) {}

int DirectedLinkDialog::PacketSize() const {
    return link_.PacketSize();
}

bool DirectedLinkDialog::OnInitDialog() {
    DialogHost& host = *Host();
    host.SetTimer(kMeasureTimer, kTimerPeriodMs);
    AddCopyFiguresItem(host);
    link_.Begin();
    if (link_.TargetIsMaster()) {
        host.SetItemText(IDC_LINK_MASTER_LABEL, texts::kLinkMasterLabel);
        host.SetItemText(IDC_LINK_MASTER_NAME, context_.driver.card.masterName);
    }
    host.ProgressSetRange(IDC_LINK_SIGNAL_BAR, 0, 100);
    host.ProgressSetPos(IDC_LINK_SIGNAL_BAR, 0);
    host.SetItemText(IDC_LINK_ADDRESS, link_.Target());
    for (int id : {IDC_LINK_PACKETS, IDC_LINK_BYTES, IDC_LINK_SIGNAL}) {
        host.SetItemText(id, "");
    }
    for (int id : {IDC_LINK_LATENCY, IDC_LINK_MAXIMUM, IDC_LINK_DEVIATION}) {
        host.SetItemText(id, "0");
    }
    host.TrackBarSetRange(IDC_LINK_PACKET_SLIDER, kMinPacketSize, kMaxPacketSize);
    for (int tick = kMinPacketSize + kTickSpacing; tick < kMaxPacketSize; tick += kTickSpacing) {
        host.TrackBarSetTick(IDC_LINK_PACKET_SLIDER, tick);
    }
    host.TrackBarSetPos(IDC_LINK_PACKET_SLIDER, link_.PacketSize());
    host.SetItemText(IDC_LINK_PACKET_SIZE,
                     std::to_string(host.TrackBarGetPos(IDC_LINK_PACKET_SLIDER)));
    return true;
}

void DirectedLinkDialog::OnCommand(int id, int code) {
    switch (id) {
        case kIdOk:
            link_.Done();
            Host()->EndDialog(kIdOk);
            return;
        case IDC_HELP_COMMAND:
            ShowHelp(context_, *Host(), HelpSectionForContext(kHelpContextDirectedLink));
            return;
        default:
            Dialog::OnCommand(id, code);
            return;
    }
}

bool DirectedLinkDialog::OnSysCommand(uint32_t id) {
    if (!IsCopyFigures(id)) {
        return false;
    }
    FiguresRow header;
    FiguresRow row;
    for (const auto& [field, label] : kFigureFields) {
        header.push_back(label);
        row.push_back(Host()->GetItemText(field));
    }
    CopyFigures(context_, *Host(), header, {row});
    return true;
}

void DirectedLinkDialog::OnHScroll(int id, int request, int pos) {
    if (id != IDC_LINK_PACKET_SLIDER) {
        return;
    }
    link_.SetPacketSize(Host()->TrackBarGetPos(IDC_LINK_PACKET_SLIDER));
    Host()->SetItemText(IDC_LINK_PACKET_SIZE, std::to_string(link_.PacketSize()));
}

void DirectedLinkDialog::OnDestroy() {
    Host()->KillTimer(kMeasureTimer);
}

void DirectedLinkDialog::ShowOutOfRange(bool shown) {
    Host()->ShowItem(IDC_LINK_OUT_OF_RANGE, shown);
}

void DirectedLinkDialog::ShowMaximumLatency(int64_t ms) {
    Host()->SetItemText(IDC_LINK_MAXIMUM, std::to_string(ms));
}

void DirectedLinkDialog::ShowTargetFollowed(const char* address, const char* name) {
    Host()->SetItemText(IDC_LINK_ADDRESS, address);
    Host()->SetItemText(IDC_LINK_MASTER_NAME, name);
}

void DirectedLinkDialog::OnTimer(uint32_t id) {
    if (id != kMeasureTimer) {
        return;
    }
    Host()->KillTimer(kMeasureTimer);
    link_.Tick();
    Host()->SetTimer(kMeasureTimer, kTimerPeriodMs);
}

void DirectedLinkDialog::ShowPass(const LinkPass& pass) {
    DialogHost& host = *Host();
    const LinkFigures& figures = pass.figures;
    host.SetItemText(IDC_LINK_SECONDS, std::to_string(pass.seconds));
    if (figures.hasPackets) {
        host.SetItemText(IDC_LINK_AVERAGE_PACKETS, std::to_string(pass.averagePackets));
        host.SetItemText(IDC_LINK_PACKETS, std::to_string(figures.packetsPerSecond));
    }
    if (figures.hasBytes) {
        host.SetItemText(IDC_LINK_AVERAGE_BYTES, std::to_string(pass.averageBytes));
        host.SetItemText(IDC_LINK_BYTES, std::to_string(figures.bytesPerSecond));
    }
    if (figures.hasLatency) {
        host.SetItemText(IDC_LINK_AVERAGE_LATENCY, std::to_string(pass.averageLatency));
        host.SetItemText(IDC_LINK_LATENCY, std::to_string(figures.latency));
        host.SetItemText(IDC_LINK_DEVIATION, FormatText(texts::kLinkDeviation, figures.deviation));
    }
    host.ProgressSetPos(IDC_LINK_SIGNAL_BAR, figures.signalPercent);
    host.SetItemText(IDC_LINK_SIGNAL, FormatText(texts::kSignalPercent, figures.signalPercent));
}

void RunDirectedLinkTest(ToolContext& context, DialogHost& host, std::string address) {
    DirectedLinkDialog dialog(context, std::move(address), context.rememberedPacketSize);
    {
        ScopedHelpContext place(context.helpContext, kHelpContextDirectedLink);
        host.RunModal(dialog);
    }
    context.rememberedPacketSize = dialog.PacketSize();
}

}  // namespace vz
