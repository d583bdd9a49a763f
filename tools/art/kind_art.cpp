#include "painters.h"

namespace art {

namespace {

// Blocks in the order top, bottom, left, right: hanging down, pointing up,
// out of the left edge, out of the right edge.
#define EDGES {0, 2, 3, 1, 0}
#define UPRIGHT {0, 0, 0, 0, 0}

const KindArt kArt[47] = {
    {paintStandardBulbs, EDGES},     {paintJollyHolly, EDGES},        {paintSnowFamily, UPRIGHT},
    {paintIndoorBulbs, EDGES},       {paintMiniBulbs, EDGES},         {paintHeavyDutyBulbs, {3, 1, 0, 2, 0}},
    {paintShinyBaubles, EDGES},      {paintChristmasTrees, UPRIGHT},  {paintCandyCanes, UPRIGHT},
    {paintSantaClaus, UPRIGHT},      {paintCarolers, UPRIGHT},        {paintStockings, UPRIGHT},
    {paintGifts, UPRIGHT},           {paintDreidels, UPRIGHT},        {paintMenorahs, UPRIGHT},
    {paintMezmerized, UPRIGHT},      {paintCandyHearts, UPRIGHT},     {paintSweetHearts, UPRIGHT},
    {paintShamrocks, UPRIGHT},       {paintPastelEasterEggs, UPRIGHT}, {paintStripedEasterEggs, UPRIGHT},
    {paintSpringFlowers, UPRIGHT},   {paintPartyHats, UPRIGHT},       {paintOldGloryBulbs, EDGES},
    {paintJackOLanterns, UPRIGHT},   {paintZombieTombstones, UPRIGHT}, {paintGrimReaper, UPRIGHT},
    {paintGhosts, UPRIGHT},          {paintAutumnLeaves, UPRIGHT},    {paintCornucopias, UPRIGHT},
    {paintLiveTurkeys, UPRIGHT},     {paintDeadTurkeys, UPRIGHT},     {paintChiliPeppers, EDGES},
    {paintHaveANiceDay, UPRIGHT},    {paintPaperDolls, EDGES},        {paintPaperLanterns, EDGES},
    {paintLaundry, UPRIGHT},         {paintTastyDonuts, UPRIGHT},     {paintSchtanna, UPRIGHT},
    {paintReligiousIcons, UPRIGHT},  {paintSun, UPRIGHT},             {paintMoon, UPRIGHT},
    {paintPlanets, UPRIGHT},         {paintFlags, UPRIGHT},           {paintSpacers, UPRIGHT},
    {paintSpacers, UPRIGHT},         {paintSpacers, UPRIGHT},
};

}  // namespace

const KindArt& kindArt(int row) { return kArt[row]; }

}  // namespace art
