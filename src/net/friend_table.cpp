#include "net/friend_table.h"

namespace tesva::net {

void CloseComputerCommands(Form& form) {
  for (MenuItem Form::*item :
       {&Form::mnuYeni, &Form::mnuSeviye, &Form::mnuAmator, &Form::mnuPro, &Form::mnuUsta,
        &Form::mnuDusunmeHizi, &Form::mnuFirst, &Form::mnuSecond, &Form::mnuTherd, &Form::mnuLast,
        &Form::mnuElSayisi}) {
    (form.*item).enabled = false;
  }
  form.Player1_Name.enabled = false;
  form.Player2_Name.enabled = false;
}

}  // namespace tesva::net
