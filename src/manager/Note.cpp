#include "manager/Note.h"

#include "store/NoteText.h"

Appearance AppearanceOf(const NoteRecord& record) { return {record.color, record.font, record.fontSize}; }

NoteLook LookOf(const NoteRecord& record, const Appearance& appearance) {
    NoteLook look;
    look.text = StoredToText(record.text);
    look.color = appearance.color;
    look.face = appearance.font;
    look.emSize = float(appearance.fontSize / 10);  // whole pixels: 385 tenths draw at 38
    return look;
}
