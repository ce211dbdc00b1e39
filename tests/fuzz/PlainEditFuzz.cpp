// A byte string as a sequence of user operations on the plain edit (see EditOps.h), with the
// edit's invariants checked after every one.
//
// Input: a MaxLength byte (0 .. 63, with 0 and high values meaning none), a flags byte
// (read-only, overwrite forced, OEM conversion), then operations. Operation 8 sets MaxLength
// anew, 9 selects everything, 10 types a whole text as an input method would commit it.

#include <QInputMethodEvent>

#include "EditOps.h"
#include "VelCustomEdit.h"

namespace {

class TCountingEdit : public TVelCustomEdit {
public:
    int Edits = 0;

protected:
    void BeforeEdit() override
    {
        if (!IsUndoing())
            ++Edits;
        TVelCustomEdit::BeforeEdit();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    ResetKeyboardState();
    FuzzBytes in(data, size);
    TCountingEdit edit;
    edit.resize(160, 24);
    edit.show();
    const uint8_t maxLength = in.Byte();
    edit.SetMaxLength(maxLength < 64 ? maxLength : 0);
    const uint8_t flags = in.Byte();
    edit.SetReadOnly(flags & 1);
    edit.SetForceOverwriteMode(flags & 2);
    edit.SetOEMConvert(flags & 4);
    EditDriver driver(edit, in);
    int step = 0;
    while (!in.Empty()) {
        const uint8_t op = in.Byte();
        const int lengthBefore = int(edit.Text().size());
        if (!driver.Run(op)) {
            switch (((op & 15) - 8) % 3) {
            case 0: edit.SetMaxLength(in.Byte() % 40); break;
            case 1: edit.SelectAll(); break;
            case 2: {
                QInputMethodEvent commit;
                commit.setCommitString(driver.Text(16));
                QCoreApplication::sendEvent(&edit, &commit);
                break;
            }
            }
        }
        QCoreApplication::sendPostedEvents();
        CheckEditState(edit, edit.Edits, lengthBefore,
                       "operation " + std::to_string(step++) + " (" + std::to_string(op) + ")");
    }
    return 0;
}
