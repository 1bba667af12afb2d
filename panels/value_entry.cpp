#include "panels/value_entry.h"

#include "panels/register_panel.h"

namespace vq {

void ValueEntry::TextData_KeyPress() {}
void ValueEntry::TextVolts_KeyPress() {}
void ValueEntry::TextFine_KeyPress() {}
void ValueEntry::TextOffset_KeyPress() {}

} // namespace vq
