// The items-to-find panel under a hidden-object picture: one record per item
// text with the number of its elements still to find, and the shown flag of
// the records on display. Each picture embeds one; the panel keeps its
// records in the profile with the rest of the level state, and the hint
// picks its target among the shown records.
#pragma once

#include "game/hog/TMessenger.h"
#include "game/shell/FloatTransformerListener.h"
#include "widgets/Widget.h"

#include <list>
#include <string>

namespace Tandry {

class TNotepad : public TMessenger, public Widget {
public:
    // One line of the panel. Its animators (strike-through, dimming) report
    // to it; records never subscribe to the bus.
    class TRecord : public FloatTransformerListener, public TMessenger {
    public:
        TRecord(std::wstring text, int remaining);

        // The item's text from the language table: the key of the record.
        std::wstring itemText;
        // Elements of this item still to find; 0 once all are found.
        int count = 0;
        // On display, so its elements can be found.
        bool shown = false;
    };

    TNotepad() = default;

    // Appends a record.
    // TODO: add to the count of an existing record of the text, and give a
    // record of count 0 its finished look.
    void AddRecord(const std::wstring& itemText, int count);
    // TODO: mark the first records shown and activate their elements.
    void ShowFirstRecords();
    // TODO: lay the records out in columns.
    void ArrangeItems();

    // [section] "Notepad": the records in list order, each as its hex text,
    // "/" and its count, joined by ','. Kept in the current document only.
    void SaveState(const std::string& section) const;
    // Replaces the records by those of [section] "Notepad"; a token without
    // "/" is skipped, and a count without leading digits reads as 0.
    void LoadState(const std::string& section);

    const std::list<TRecord>& GetRecords() const { return mRecords; }
    int GetShownCount() const { return mShownCount; }

private:
    // A list: records are neither copied nor moved once added.
    std::list<TRecord> mRecords;
    int mShownCount = 0;
};

} // namespace Tandry
