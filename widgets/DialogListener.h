// What a dialog tells its listener when one of its buttons (1000 yes / ok,
// 1001 no / cancel) is pressed or clicked. Both operations do nothing by
// default; the application object forwards them as button events of its own.
#pragma once

namespace Tandry {

class DialogListener {
public:
    virtual ~DialogListener() = default;

    virtual void OnDialogButtonDown(int dialogId, int buttonId);
    virtual void OnDialogButtonClick(int dialogId, int buttonId);
};

} // namespace Tandry
