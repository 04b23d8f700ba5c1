// Copy Figures: the item, the tab-separated text and the clipboard.
#include "zazivev/app/copy_figures.h"

#include <algorithm>

#include "zazivev/res/resource.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

void AppendRow(std::string& text, const FiguresRow& row) {
    for (size_t cell = 0; cell < row.size(); ++cell) {
        std::string value = row[cell];
        std::replace_if(
            value.begin(), value.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
            ' ');
        text += (cell == 0 ? "" : "\t") + value;
    }
    text += "\r\n";
}

}  // namespace

void AddCopyFiguresItem(DialogHost& host) {
    host.SystemMenuAppend(IDM_COPY_FIGURES, texts::kCopyFigures);
}

bool IsCopyFigures(uint32_t command) {
    return (command & ~0xFu) == IDM_COPY_FIGURES;
}

std::string FiguresText(const FiguresRow& header, const std::vector<FiguresRow>& rows) {
    std::string text;
    AppendRow(text, header);
    for (const FiguresRow& row : rows) {
        AppendRow(text, row);
    }
    return text;
}

void CopyFigures(ToolContext& context, DialogHost& host, const FiguresRow& header,
                 const std::vector<FiguresRow>& rows) {
    context.shell.SetClipboardText(host.Window(), FiguresText(header, rows));
}

}  // namespace vz
