// Card update.
#include "card/card_update.h"

namespace sdmate {

UpdateResult UpdateCard(CardModel&, bool&, Files&, Drives&, Feedback&) { return {}; }

}  // namespace sdmate
