#pragma once

// Numeric identifiers of dialogs, controls, commands and strings. Windows find their controls and commands by
// these numbers, never by a display text.
namespace quillet::res {

// Dialog templates.
inline constexpr int kAboutDialog = 100;
inline constexpr int kTipDialog = 104;
inline constexpr int kDataBarDialog = 130;
inline constexpr int kSiteCaptureDialog = 155;
inline constexpr int kCardCaptureDialog = 158;
inline constexpr int kRestoreDialog = 162;
inline constexpr int kStartOptionsDialog = 139;
inline constexpr int kNameInputDialog = 135;
inline constexpr int kSiteInputDialog = 157;
inline constexpr int kCardViewerDialog = 147;
inline constexpr int kSearchDialog = 159;
inline constexpr int kReadingDialog = 146;
inline constexpr int kImportDialog = 141;
inline constexpr int kStatisticsDialog = 142;
inline constexpr int kOrderDialog = 140;
inline constexpr int kOrganizeDialog = 160;
inline constexpr int kFavoritesDialog = 161;
inline constexpr int kRecycleBinDialog = 170;

// Controls.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdStatic = -1;
inline constexpr int kNameEdit = 1014;
inline constexpr int kNameGroup = 1017;
inline constexpr int kSiteNameEdit = 1027;
inline constexpr int kSiteAddressEdit = 1047;
inline constexpr int kSiteDescriptionEdit = 1046;

inline constexpr int kTipPanel = 1000;
inline constexpr int kTipShowAtStartUp = 1001;
inline constexpr int kTipNext = 1002;
inline constexpr int kTipText = 1004;
inline constexpr int kOptionBarLeft = 1018;
inline constexpr int kOptionBarRight = 1019;
inline constexpr int kOptionBarTop = 1020;
inline constexpr int kOptionBarBottom = 1021;
inline constexpr int kOptionMaximize = 1029;
inline constexpr int kOptionEntryMode = 1034;
inline constexpr int kOptionReadingMode = 1035;
inline constexpr int kOptionHiddenMode = 1036;
inline constexpr int kDataBarTabs = 1002;
inline constexpr int kDataBarAlwaysOnTop = 1006;
inline constexpr int kDataBarCategories = 1008;
inline constexpr int kDataBarTree = 1009;
inline constexpr int kDataBarHiddenEdit = 1014;
inline constexpr int kDataBarId = 59424;
inline constexpr int kCaptureName = 1027;
inline constexpr int kCaptureRestore = 1028;
inline constexpr int kCaptureDescription = 1046;
inline constexpr int kCaptureSecond = 1047;  // the card's content, or the site's address
inline constexpr int kCaptureNameFrame = 1048;
inline constexpr int kCaptureSecondFrame = 1049;
inline constexpr int kCaptureDescriptionFrame = 1050;
inline constexpr int kCaptureCategoryFrame = 1051;
inline constexpr int kCaptureCategories = 1052;
inline constexpr int kCaptureShrink = 1069;
inline constexpr int kCaptureHideMain = 1070;
inline constexpr int kAboutPicture = 1050;
inline constexpr int kAboutVersion = 1051;
inline constexpr int kViewerText = 1014;
inline constexpr int kViewerCopy = 1042;
inline constexpr int kViewerAction = 1043;  // select all, or visit the site
inline constexpr int kViewerShrink = 1044;
inline constexpr int kSearchByName = 1018;
inline constexpr int kSearchByContent = 1019;
inline constexpr int kSearchByBoth = 1020;
inline constexpr int kSearchCancel = 1028;
inline constexpr int kSearchLibrary0 = 1029;
inline constexpr int kSearchLibrary1 = 1056;
inline constexpr int kSearchLibrary2 = 1057;
inline constexpr int kSearchLibrary3 = 1058;
inline constexpr int kSearchStatus = 1053;
inline constexpr int kSearchFoundCount = 1054;
inline constexpr int kSearchProgressGroup = 1055;
inline constexpr int kImportGroup = 1031;
inline constexpr int kImportFile = 1027;
inline constexpr int kImportBrowse = 1028;
inline constexpr int kImportOverwrite = 1029;
inline constexpr int kImportStart = 1030;
inline constexpr int kImportExit = 1062;
inline constexpr int kImportLog = 1022;
inline constexpr int kStatisticsList = 1022;
inline constexpr int kOrderList = 1022;
inline constexpr int kOrderUp = 1023;
inline constexpr int kOrderDown = 1024;
inline constexpr int kOrderTop = 1025;
inline constexpr int kOrderBottom = 1026;
inline constexpr int kStatisticsOrderCards = 1033;
inline constexpr int kRecycleBinItems = 1100;
inline constexpr int kRecycleBinPreview = 1101;
inline constexpr int kRecycleBinRestore = 1102;
inline constexpr int kRecycleBinEmpty = 1103;
inline constexpr int kFavoritesFolder = 1014;
inline constexpr int kFavoritesChange = 1028;
inline constexpr int kFavoritesDefault = 1029;
inline constexpr int kFavoritesLog = 1022;
inline constexpr int kFavoritesExit = 1068;
inline constexpr int kFavoritesOverwrite = 1006;
inline constexpr int kOrganizeTabs = 1059;
inline constexpr int kOrganizeCategories = 1052;
inline constexpr int kOrganizeSource = 1065;
inline constexpr int kOrganizeCopy = 1066;
inline constexpr int kOrganizeCut = 1067;
inline constexpr int kOrganizeSourceAll = 1029;
inline constexpr int kOrganizeSourceInvert = 1031;
inline constexpr int kOrganizePaste = 1062;
inline constexpr int kOrganizeClipboardAll = 1063;
inline constexpr int kOrganizeClipboardInvert = 1032;
inline constexpr int kOrganizeClear = 1064;
inline constexpr int kOrganizeSkip = 1018;
inline constexpr int kOrganizeOverwrite = 1019;
inline constexpr int kOrganizeClipboard = 1060;
inline constexpr int kReadingTabs = 1037;
inline constexpr int kReadingCategories = 1008;
inline constexpr int kReadingSearchText = 1014;
inline constexpr int kReadingSearchButton = 1045;
inline constexpr int kReadingTree = 1009;
inline constexpr int kReadingToolBar = 150;

// Commands of the program.
inline constexpr int kCmdTipOfTheDay = 105;
inline constexpr int kCmdCreateCategory = 32773;
inline constexpr int kCmdNewCard = 32775;
inline constexpr int kCmdDeleteCategory = 32776;
inline constexpr int kCmdDeleteCard = 32777;
inline constexpr int kCmdToggleDataBar = 32780;
inline constexpr int kCmdReadingMode = 32781;
inline constexpr int kCmdRenameCategory = 32783;
inline constexpr int kCmdRenameCard = 32785;
inline constexpr int kCmdAlwaysOnTop = 32787;
inline constexpr int kCmdStartOptions = 32788;
inline constexpr int kCmdImportBackup = 32789;
inline constexpr int kCmdExportBackup = 32790;
inline constexpr int kCmdOrderCards = 32791;
inline constexpr int kCmdNextCard = 32792;
inline constexpr int kCmdPreviousCard = 32793;
inline constexpr int kCmdSaveCard = 32801;
inline constexpr int kCmdStatistics = 32802;
inline constexpr int kCmdSelectAll = 32805;
inline constexpr int kCmdHideToTray = 32810;
inline constexpr int kCmdTrayEntryMode = 32812;
inline constexpr int kCmdTrayReadingMode = 32813;
inline constexpr int kCmdLeaveForEntryMode = 32817;
inline constexpr int kCmdLeaveForTray = 32820;
inline constexpr int kCmdLeaveAndExit = 32821;
inline constexpr int kCmdReadingStartOptions = 32822;
inline constexpr int kCmdViewCard = 32829;
inline constexpr int kCmdReadingPreviousCard = 32830;
inline constexpr int kCmdReadingNextCard = 32831;
inline constexpr int kCmdSaveCardAsText = 32832;
inline constexpr int kCmdVisitSite = 32833;
inline constexpr int kCmdHomePage = 32835;
inline constexpr int kCmdMailAuthor = 32836;
inline constexpr int kCmdHelp = 32837;
inline constexpr int kCmdDeleteAllCards = 32838;
inline constexpr int kCmdUndoDelete = 32860;
inline constexpr int kCmdRecycleBin = 32861;
inline constexpr int kCmdDeleteAllCategories = 32839;
inline constexpr int kCmdOrganize = 32840;
inline constexpr int kCmdOrderCategories = 32844;
inline constexpr int kCmdExportFavorites = 32845;
inline constexpr int kCmdImportFavorites = 32846;

// The framework's standard commands.
inline constexpr int kCmdFileNew = 57600;
inline constexpr int kCmdFileOpen = 57601;
inline constexpr int kCmdFileSave = 57603;
inline constexpr int kCmdPrintSetup = 57606;
inline constexpr int kCmdPrint = 57607;
inline constexpr int kCmdPrintPreview = 57609;
inline constexpr int kCmdCopy = 57634;
inline constexpr int kCmdCut = 57635;
inline constexpr int kCmdPaste = 57637;
inline constexpr int kCmdUndo = 57643;
inline constexpr int kCmdAbout = 57664;
inline constexpr int kCmdExit = 57665;

// The tray icon; also the number of its menu.
inline constexpr int kTrayIconId = 143;

// Strings that are not command texts.
inline constexpr int kStrDidYouKnow = 107;
inline constexpr int kStrNoTipsFile = 108;
inline constexpr int kStrTipsFileTrouble = 109;

}  // namespace quillet::res
