// The one message for a field that takes a whole number and holds something else.
#pragma once

namespace orbel {

// Tells the person that a field takes a whole number ("Please enter an integer.").
void ShowIntegerExpected();

}  // namespace orbel
