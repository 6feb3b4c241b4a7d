#include "app/modVariable_Main.h"

#include "startup/forms.h"
#include "startup/modVariable.h"
#include "title/frmMain.h"

namespace quorvex {

void Main() {
    LoadSpriteCatalogue();
    // 4. The title window; its load handler plays the whole introduction before Show returns.
    form<frmMain>().Show();
}

}  // namespace quorvex
