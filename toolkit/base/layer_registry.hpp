// How one layer plugs into the layer below it. The lower layer writes what it asks of the
// layers above as a struct of entries: a `name` and function pointers, each null where a
// layer offers nothing. Each layer above fills one and registers it once, at start-up;
// the lower layer asks the registered layers in registration order. An entry answers with
// its return value (a small result struct where there is more than one value), never
// through out-parameters.
#pragma once

#include <cstring>
#include <string_view>
#include <vector>

namespace quill {

// The layers registered for the seam Layer, in registration order.
template <class Layer>
std::vector<Layer>& registered_layers() {
  static std::vector<Layer> layers;
  return layers;
}

// Adds layer to its seam; registering the same name again replaces the earlier entry.
template <class Layer>
void register_layer(const Layer& layer) {
  for (Layer& known : registered_layers<Layer>()) {
    if (std::strcmp(known.name, layer.name) == 0) {
      known = layer;
      return;
    }
  }
  registered_layers<Layer>().push_back(layer);
}

// Removes the layer of that name from the seam Layer (window shutdown, tests).
template <class Layer>
void unregister_layer(std::string_view name) {
  std::erase_if(registered_layers<Layer>(), [name](const Layer& layer) { return name == layer.name; });
}

// The first layer that offers entry, or null.
template <class Layer, class Entry>
const Layer* first_layer_with(Entry Layer::*entry) {
  for (const Layer& layer : registered_layers<Layer>()) {
    if (layer.*entry != nullptr) return &layer;
  }
  return nullptr;
}

// The first answer that holds something (a true bool, a window, an optional with a value),
// asking the layers that offer entry in order; an empty answer when none has one.
template <class Layer, class Result, class... Params, class... Args>
Result first_answer(Result (*Layer::*entry)(Params...), Args&&... args) {
  for (const Layer& layer : registered_layers<Layer>()) {
    if (layer.*entry == nullptr) continue;
    if (Result answer = (layer.*entry)(args...)) return answer;
  }
  return Result{};
}

// Tells every layer that offers entry, in order.
template <class Layer, class... Params, class... Args>
void tell_layers(void (*Layer::*entry)(Params...), Args&&... args) {
  for (const Layer& layer : registered_layers<Layer>()) {
    if (layer.*entry != nullptr) (layer.*entry)(args...);
  }
}

}  // namespace quill
