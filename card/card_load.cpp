// Card load.
#include "card/card_load.h"

namespace sdmate {

LoadResult LoadCard(CardModel&, char, bool&, Files&, Drives&, Feedback&, LoadOptions) { return {}; }

}  // namespace sdmate
