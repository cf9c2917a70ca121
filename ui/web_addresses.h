// Every web page the program opens, in one place: the about box's links and the banner.
#pragma once

namespace sdmate {

inline constexpr char kHomePageAddress[] = "https://sdmate.example/";
inline constexpr char kDonationPageAddress[] = "https://sdmate.example/donation/";
inline constexpr char kRatingsPageAddress[] = "https://sdmate.example/feedback/";
inline constexpr char kSupportPageAddress[] = "https://sdmate.example/support/";
// The sister site with standby images to download, opened from the banner.
inline constexpr char kSisterSiteAddress[] = "https://machiuke.sdmate.example/";

}  // namespace sdmate
