// Delete, renumber, up, down and the item title.
#include "editing/item_operations.h"

namespace sdmate {

EditResult DeleteItem(CardModel&, MediaKind, int, int) { return {}; }
EditResult RenumberItems(CardModel&, MediaKind, int) { return {}; }
EditResult MoveItemUp(CardModel&, MediaKind, int, int) { return {}; }
EditResult MoveItemDown(CardModel&, MediaKind, int, int) { return {}; }
EditResult StoreItemTitle(CardModel&, MediaKind, int, int, std::string_view) { return {}; }

}  // namespace sdmate
