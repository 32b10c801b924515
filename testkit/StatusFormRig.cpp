#include "testkit/StatusFormRig.h"

StatusFormRig::StatusFormRig()
    : form(std::make_unique<MainForm>(state, port, dialogs, terminal)),
      status(new StatusBinding(*form, dialogs))
{
    port.open();
    form->SetStatus(LinkStatus::Idle);
}
