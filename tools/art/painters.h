// The painters of the 47 built-in bulb kinds, one per kind, and how each
// kind's frame blocks are turned for their edges.
#pragma once
#include <cstring>
#include <string>
#include <algorithm>

#include "paint.h"

namespace art {

void paintStandardBulbs(cairo_t*, const Frame&);
void paintIndoorBulbs(cairo_t*, const Frame&);
void paintMiniBulbs(cairo_t*, const Frame&);
void paintHeavyDutyBulbs(cairo_t*, const Frame&);
void paintOldGloryBulbs(cairo_t*, const Frame&);
void paintPaperLanterns(cairo_t*, const Frame&);
void paintChiliPeppers(cairo_t*, const Frame&);
void paintShinyBaubles(cairo_t*, const Frame&);
void paintJollyHolly(cairo_t*, const Frame&);
void paintSnowFamily(cairo_t*, const Frame&);
void paintChristmasTrees(cairo_t*, const Frame&);
void paintCandyCanes(cairo_t*, const Frame&);
void paintSantaClaus(cairo_t*, const Frame&);
void paintCarolers(cairo_t*, const Frame&);
void paintStockings(cairo_t*, const Frame&);
void paintGifts(cairo_t*, const Frame&);
void paintDreidels(cairo_t*, const Frame&);
void paintMenorahs(cairo_t*, const Frame&);
void paintMezmerized(cairo_t*, const Frame&);
void paintCandyHearts(cairo_t*, const Frame&);
void paintSweetHearts(cairo_t*, const Frame&);
void paintShamrocks(cairo_t*, const Frame&);
void paintPastelEasterEggs(cairo_t*, const Frame&);
void paintStripedEasterEggs(cairo_t*, const Frame&);
void paintSpringFlowers(cairo_t*, const Frame&);
void paintPartyHats(cairo_t*, const Frame&);
void paintJackOLanterns(cairo_t*, const Frame&);
void paintZombieTombstones(cairo_t*, const Frame&);
void paintGrimReaper(cairo_t*, const Frame&);
void paintGhosts(cairo_t*, const Frame&);
void paintAutumnLeaves(cairo_t*, const Frame&);
void paintCornucopias(cairo_t*, const Frame&);
void paintLiveTurkeys(cairo_t*, const Frame&);
void paintDeadTurkeys(cairo_t*, const Frame&);
void paintHaveANiceDay(cairo_t*, const Frame&);
void paintPaperDolls(cairo_t*, const Frame&);
void paintLaundry(cairo_t*, const Frame&);
void paintTastyDonuts(cairo_t*, const Frame&);
void paintSchtanna(cairo_t*, const Frame&);
void paintReligiousIcons(cairo_t*, const Frame&);
void paintSun(cairo_t*, const Frame&);
void paintMoon(cairo_t*, const Frame&);
void paintPlanets(cairo_t*, const Frame&);
void paintFlags(cairo_t*, const Frame&);
void paintSpacers(cairo_t*, const Frame&);

// How a kind is drawn: its painter, and for each block of frames the quarter
// turns (clockwise) from the painter's upright, hanging-from-the-top drawing.
struct KindArt {
    Painter paint;
    int turns[5];
};

// By table row (0..46).
const KindArt& kindArt(int row);

}  // namespace art
