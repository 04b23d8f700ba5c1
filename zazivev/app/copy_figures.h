// "Copy Figures": the measuring windows' system menu item that puts what they show on the
// clipboard as tab-separated text with a header row, for a spreadsheet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/dialog_host.h"
#include "zazivev/app/tool_context.h"

namespace vz {

using FiguresRow = std::vector<std::string>;

// Appends the item to `host`'s system menu.
void AddCopyFiguresItem(DialogHost& host);
// Whether a system command is the item's (the low four bits are the system's own).
bool IsCopyFigures(uint32_t command);
// The table as the clipboard gets it: cells separated by tabs, rows ended by CR LF; a tab or line
// break inside a cell becomes a space.
std::string FiguresText(const FiguresRow& header, const std::vector<FiguresRow>& rows);
// Puts the table on the clipboard, owned by `host`'s window.
void CopyFigures(ToolContext& context, DialogHost& host, const FiguresRow& header,
                 const std::vector<FiguresRow>& rows);

}  // namespace vz
