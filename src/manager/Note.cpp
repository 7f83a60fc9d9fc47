#include "manager/Note.h"

#include "notewindow/Placement.h"
#include "store/NoteText.h"
#include "store/Unicode.h"

namespace {

// Enough for any note a person types; an edit still lays out a line this long at once.
constexpr size_t kEditableBytes = 256 * 1024;
constexpr size_t kPreviewCharacters = 4000;

}  // namespace

bool IsEditable(const NoteRecord& record) { return record.text.size() <= kEditableBytes; }

EditableText TextForEdit(const NoteRecord& record) {
    if (IsEditable(record)) return {StoredToText(record.text), true};
    const std::string beginning(Utf8Prefix(record.text, kPreviewCharacters));
    return {StoredToText(beginning), false};
}

std::string EditContent(const EditableText& text, std::string_view notice) {
    return text.editable ? text.text : text.text + "\n" + std::string(notice);
}

Appearance AppearanceOf(const NoteRecord& record) { return {record.color, record.font, record.fontSize}; }

bool SameLook(const NoteRecord& a, const NoteRecord& b) {
    return a.color == b.color && a.fontSize == b.fontSize && a.font == b.font && a.text == b.text;
}

NoteLook LookOf(const NoteRecord& record, const Appearance& appearance, double scale) {
    NoteLook look;
    look.text = StoredToText(record.text);
    look.color = appearance.color;
    look.face = appearance.font;
    look.emSize = float(Scaled(appearance.fontSize / 10, scale));  // whole pixels: 385 tenths draw at 38
    return look;
}

double ScaleOf(const NoteRecord& record, const std::vector<Monitor>& monitors) {
    const WindowRect stored = SaneRect(record.positionX, record.positionY, record.width, record.height);
    return ScaleAt({stored.left, stored.top}, monitors);
}

WindowRect PlaceOf(const NoteRecord& record, const std::vector<Monitor>& monitors) {
    const WindowRect stored = SaneRect(record.positionX, record.positionY, record.width, record.height);
    const double scale = ScaleOf(record, monitors);
    return KeepOnScreen(SaneRect(stored.left, stored.top, Scaled(stored.width(), scale), Scaled(stored.height(), scale)),
                        monitors);
}
