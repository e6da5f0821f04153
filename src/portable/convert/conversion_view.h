#pragma once
// What a conversion run shows of itself. The main window, the console
// program and the tests each provide one.
#include <string>
#include <vector>

#include "convert/skipped_drawing.h"
#include "platform/user_messages.h"

namespace tovimo {

class ConversionView : public UserMessages {
public:
    virtual void EnableCancel(bool enabled) = 0;
    // The progress runs from 0 to maximum.
    virtual void SetProgressRange(int maximum) = 0;
    virtual void SetProgressPosition(int position) = 0;
    // Sources[index] (index from 0) is about to be converted.
    virtual void DrawingStarting(int index, const std::string& source) {
        (void)index;
        (void)source;
    }
    // Modal: returns when the user has seen the list.
    virtual void ShowSkippedDrawings(const std::vector<SkippedDrawing>& skipped) = 0;
};

}  // namespace tovimo
