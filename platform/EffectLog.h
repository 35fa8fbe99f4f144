// Effects outside the program that a person would see elsewhere (the text of another program's
// field set by a script), told as one line each to whoever listens: a container prints them in
// its transcript. Called on the user-interface thread.
#pragma once

#include <functional>
#include <string>

namespace orbel::platform {

void RecordEffect(const std::string& line);
// Whether anybody listens: an effect that costs something to describe is skipped otherwise.
bool EffectListened();
// Replaces the listener; an empty one stops the telling.
void SetEffectListener(std::function<void(const std::string&)> listener);

}  // namespace orbel::platform
