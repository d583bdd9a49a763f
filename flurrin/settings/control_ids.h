// The control ids of the option forms, in one place so tests can find a
// control by its id as well as by its text.
#pragma once

namespace flurrin::ids {

// frmConfiguration
enum Configuration {
    kCrystals = 101, kCircles, kOrnaments,
    kExit = 110, kPreview, kMoreOptions, kAbout,
    kMoreTitles = 120,
    kStylePictures = 130,  // four pictures, one a style: crystals, circles, ornaments, all three
};

// frmOptions
enum Options {
    kFrameRate = 201, kMouseSensitivity, kSpriteActive, kSceneDuration,  // the scroll bars
    kFrameRateLabel = 210,
    kRandomMusic = 221, kMuteAudio, kSaveWallpaper, kShowTime, kScaleBackground, kRandomPictures, kObjectsOff,
    kIncludedMusic = 231, kCustomMusic, kIncludedPictures, kCustomPictures,
    kOptionsOk = 241, kOptionsPreview, kDeviceTypes,
};

// frm_devicenames
enum DeviceNames { kMidiDevice = 301, kWavDevice, kMp3Device, kDefaults = 311, kDevicesOk };

// frm_about
enum About { kAboutWelcome = 401, kAboutVersion, kWebSite = 411, kAboutOk };

// frm_custompictures and frm_custommusic
enum CustomList {
    kDrives = 501, kFolders, kFiles,
    kAddSelected = 511, kAddAll, kRemove, kListOk, kListCancel,
    kList = 521, kPreviewPicture,
};

}  // namespace flurrin::ids
