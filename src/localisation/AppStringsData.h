#pragma once

// Every entry of the catalogue: X(field, language file key, English default).
// Field and key are the same name except for Main.chKeepDates and Main.KeepDates.
// The escapes backslash-n and backslash-t stay two characters in an entry; FormatCatalogText
// expands them when a message is shown.

#include "core/Product.h"

// clang-format off

#define ZORVANE_MAIN_STRINGS(X) \
    X(Auto, u"Auto", u"Auto") \
    X(AverageShort, u"AverageShort", u"AVG") \
    X(gbInterlacing, u"gbInterlacing", u"Deinterlacing") \
    X(cbInterlacing_Deinterlace, u"cbInterlacing_Deinterlace", u"Deinterlace") \
    X(cbInterlacing_KeepOriginal, u"cbInterlacing_KeepOriginal", u"Keep original") \
    X(actShowCmdLine, u"actShowCmdLine", u"Show / hide FFmpeg command-line parameters...") \
    X(cbProfile_TheLastSessionSettings, u"cbProfile_TheLastSessionSettings", u"The last session settings") \
    X(cbProfile_DefaultSettings, u"cbProfile_DefaultSettings", u"Encoder default settings") \
    X(lblProfile, u"lblProfile", u"Profile:") \
    X(actLoadSelectedProfile, u"actLoadSelectedProfile", u"<-- Load") \
    X(mnuView, u"mnuView", u"View") \
    X(dlgSaveProfile_Filter, u"dlgSaveProfile_Filter", u"Ini files (*.INI)") \
    X(dlgOpenProfile_Filter, u"dlgOpenProfile_Filter", u"Ini files (*.INI)") \
    X(dlgSaveFileList_Filter, u"dlgSaveFileList_Filter", u"File list (*.LST)") \
    X(dlgOpenFileList_Filter, u"dlgOpenFileList_Filter", u"File list (*.LST)") \
    X(dlgSaveBAT_Filter, u"dlgSaveBAT_Filter", u"Batch files (*.BAT)") \
    X(dlgOpen_Filter1, u"dlgOpen_Filter1", u"Flash video files (FLV, SWF, F4V, F4P, F4A, F4B)") \
    X(dlgOpen_Filter2, u"dlgOpen_Filter2", u"All supported files") \
    X(Custom, u"Custom", u"Custom") \
    X(mnuFile, u"mnuFile", u"File") \
    X(mnuFileList, u"mnuFileList", u"File list") \
    X(mnuEncoder, u"mnuEncoder", u"Encoder") \
    X(mnuHelp, u"mnuHelp", u"Help") \
    X(colNo, u"colNo", u"No") \
    X(colFile, u"colFile", u"File") \
    X(colDirectory, u"colDirectory", u"Directory") \
    X(colSize, u"colSize", u"Size") \
    X(colStatus, u"colStatus", u"Status") \
    X(colDuration, u"colDuration", u"Duration") \
    X(colIcon, u"colIcon", u"Icon") \
    X(colAudio, u"colAudio", u"Audio") \
    X(colAudioCodec, u"colAudioCodec", u"Audio codec") \
    X(colAudioCodecID, u"colAudioCodecID", u"Audio codec ID") \
    X(colAudioProfile, u"colAudioProfile", u"Audio profile") \
    X(colAudioBitrate, u"colAudioBitrate", u"Audio bitrate") \
    X(colAudioChannels, u"colAudioChannels", u"Channels") \
    X(colAudioSampling, u"colAudioSampling", u"Sampling") \
    X(colAudioStreamSize, u"colAudioStreamSize", u"Audio stream size") \
    X(colVideo, u"colVideo", u"Video") \
    X(colVideoCodec, u"colVideoCodec", u"Video codec") \
    X(colVideoCodecID, u"colVideoCodecID", u"Video codec ID") \
    X(colVideoProfile, u"colVideoProfile", u"Video profile") \
    X(colVideoBitrate, u"colVideoBitrate", u"Video bitrate") \
    X(colVideoWidth, u"colVideoWidth", u"Width") \
    X(colVideoHeight, u"colVideoHeight", u"Height") \
    X(colVideoResolution, u"colVideoResolution", u"Resolution") \
    X(colVideoDisplayAspect, u"colVideoDisplayAspect", u"Display aspect") \
    X(colVideoFPS, u"colVideoFPS", u"Frames/sec.") \
    X(colVideoScanType, u"colVideoScanType", u"Scan type") \
    X(colVideoBpp, u"colVideoBpp", u"Bits/pixel") \
    X(colVideoStreamSize, u"colVideoStreamSize", u"Video stream size") \
    X(actConvert, u"actConvert", u"Convert checked files") \
    X(actExit, u"actExit", u"Exit") \
    X(actLoadProfile, u"actLoadProfile", u"Load encoder settings...") \
    X(actSaveProfile, u"actSaveProfile", u"Save encoder settings...") \
    X(actAddFiles, u"actAddFiles", u"Add files to list...") \
    X(actAddFolder, u"actAddFolder", u"Add files from folder...") \
    X(actRemoveChecked, u"actRemoveChecked", u"Remove checked files from list") \
    X(actMinimizeToTray, u"actMinimizeToTray", u"Minimize to system tray") \
    X(actShowMainWindow, u"actShowMainWindow", u"Show main window") \
    X(actLoadFileList, u"actLoadFileList", u"Load file list...") \
    X(actSaveFileList, u"actSaveFileList", u"Save file list...") \
    X(actCheckAll, u"actCheckAll", u"Check all") \
    X(actUncheckAll, u"actUncheckAll", u"Uncheck all files") \
    X(actUncheckSelected, u"actUncheckSelected", u"Uncheck selected files") \
    X(actInvertSelection, u"actInvertSelection", u"Invert selection") \
    X(actCheckSelected, u"actCheckSelected", u"Check selected files") \
    X(actGoToHomePage, u"actGoToHomePage", u"Home page") \
    X(actAbout, u"actAbout", u"About...") \
    X(actShowOptions, u"actShowOptions", u"Options...") \
    X(actStayOnTop, u"actStayOnTop", u"Stay on top") \
    X(actBrowseOutDir, u"actBrowseOutDir", u"Browse...") \
    X(actExploreOutDir, u"actExploreOutDir", u"Explore...") \
    X(actSaveBAT, u"actSaveBAT", u"Save BAT file...") \
    X(actSetDefaultEncoderSettings, u"actSetDefaultEncoderSettings", u"Default encoder settings") \
    X(actShowHideFormErrors, u"actShowHideFormErrors", u"Show / hide error log") \
    X(actShowHideFileInfo, u"actShowHideFileInfo", u"Show / hide video file properties") \
    X(actClearFileList, u"actClearFileList", u"Clear file list") \
    X(actShowHideBottomPanel, u"actShowHideBottomPanel", u"Show / hide bottom panel") \
    X(actShowProgressWindow, u"actShowProgressWindow", u"Show progress window") \
    X(lblIfOutputExists, u"lblIfOutputExists", u"If output file exists:") \
    X(lblAfterConversion, u"lblAfterConversion", u"After conversion:") \
    X(gbOutputDir, u"gbOutputDir", u"Output directory") \
    X(rbOutDirIsInDir, u"rbOutDirIsInDir", u"Output directory = Input directory") \
    X(cbAfterConversion_DoNothing, u"cbAfterConversion_DoNothing", u"Do nothing") \
    X(cbAfterConversion_CloseApplication, u"cbAfterConversion_CloseApplication", u"Close application") \
    X(cbAfterConversion_CloseWindows, u"cbAfterConversion_CloseWindows", u"Close Windows") \
    X(cbOutputExists_Rename, u"cbOutputExists_Rename", u"Rename file") \
    X(cbOutputExists_Overwrite, u"cbOutputExists_Overwrite", u"Overwrite it") \
    X(cbOutputExists_Skip, u"cbOutputExists_Skip", u"Skip file") \
    X(lblOutputFormatVideoSettings, u"lblOutputFormatVideoSettings", u"Output format / video settings") \
    X(lblAudioSettings, u"lblAudioSettings", u"Audio settings") \
    X(lblAdvancedSettings, u"lblAdvancedSettings", u"Advanced settings") \
    X(gbAviVideoOptions, u"gbAviVideoOptions", u"AVI video options") \
    X(lblAviVideoThreads, u"lblAviVideoThreads", u"Threads:") \
    X(lblAviVideoCodec, u"lblAviVideoCodec", u"Video codec:") \
    X(chAviVideo2Pass, u"chAviVideo2Pass", u"2-pass encoding") \
    X(chAviVideoDontCopy, u"chAviVideoDontCopy", u"Do not copy video stream") \
    X(lblAviVideoBitrate, u"lblAviVideoBitrate", u"Bitrate:") \
    X(lblAviVideoFPS, u"lblAviVideoFPS", u"FPS:") \
    X(lblAviVideoAspect, u"lblAviVideoAspect", u"Aspect:") \
    X(gbMPEGSettings, u"gbMPEGSettings", u"MPEG settings") \
    X(lblMpgVideo, u"lblMpgVideo", u"Video settings:") \
    X(lblMpegVersion, u"lblMpegVersion", u"MPEG version:") \
    X(chMpgVideo2Pass, u"chMpgVideo2Pass", u"2-pass encoding") \
    X(chMpgVideoDontCopy, u"chMpgVideoDontCopy", u"Do not copy video stream") \
    X(lblMpgVideoBitrate, u"lblMpgVideoBitrate", u"Bitrate:") \
    X(lblMpgVideoFPS, u"lblMpgVideoFPS", u"FPS:") \
    X(gbAudioOptions, u"gbAudioOptions", u"Audio options") \
    X(lblAudioCodec, u"lblAudioCodec", u"Audio codec:") \
    X(lblAudioSampling, u"lblAudioSampling", u"Sampling freq.:") \
    X(lblAudioChannels, u"lblAudioChannels", u"Channels:") \
    X(chAudioDontCopy, u"chAudioDontCopy", u"Do not copy audio stream") \
    X(lblAudioBitrate, u"lblAudioBitrate", u"Bitrate:") \
    X(gbResolution, u"gbResolution", u"Resolution") \
    X(edResWidth, u"edResWidth", u"Width:") \
    X(edResHeight, u"edResHeight", u"Height:") \
    X(chVideoFourcc, u"chVideoFourcc", u"Force video tag") \
    X(gbCropping, u"gbCropping", u"Cropping") \
    X(edCropTop, u"edCropTop", u"Top:") \
    X(edCropBottom, u"edCropBottom", u"Bottom:") \
    X(edCropLeft, u"edCropLeft", u"Left:") \
    X(edCropRight, u"edCropRight", u"Right:") \
    X(btnAdd, u"btnAdd", u"Add files") \
    X(btnAddFolder, u"btnAddFolder", u"Add folder") \
    X(btnRemove, u"btnRemove", u"Remove") \
    X(btnConvert, u"btnConvert", u"Convert") \
    X(btnOptions, u"btnOptions", u"Options") \
    X(btnHomePage, u"btnHomePage", u"Home page") \
    X(btnAbout, u"btnAbout", u"About") \
    X(btnFileInfo, u"btnFileInfo", u"File info") \
    X(btnStayOnTop, u"btnStayOnTop", u"") \
    X(cbAviVideoCodec_HuffYUV, u"cbAviVideoCodec_HuffYUV", u"HuffYUV (lossless)") \
    X(cbAviVideoCodec_Copy, u"cbAviVideoCodec_Copy", u"Copy original video stream") \
    X(cbAudioCodec_Copy, u"cbAudioCodec_Copy", u"Copy original audio stream") \
    X(lblAudioVolume, u"lblAudioVolume", u"Volume:") \
    X(gbFFmpegParams, u"gbFFmpegParams", u"Additional FFmpeg command-line parameters:") \
    X(actExploreDirectory, u"actExploreDirectory", u"Open directory \"%s\"") \
    X(MpgUserSettings, u"MpgUserSettings", u"User settings") \
    X(Error, u"Error", u"Error") \
    X(Errors, u"Errors", u"Errors") \
    X(Abort, u"Abort", u"Abort") \
    X(Aborted, u"Aborted", u"Aborted") \
    X(Close, u"Close", u"Close") \
    X(CantCreateDirectory, u"CantCreateDirectory", u"Couldn't create directory \"%s\" !") \
    X(CantSaveSettings, u"CantSaveSettings", u"The settings could not be saved in \"%s\". The files there are as they were before.") \
    X(dlgSaveSH_Filter, u"dlgSaveSH_Filter", u"Shell script (*.SH)") \
    X(PowerOffNotice, u"PowerOffNotice", u"The conversion has finished. The computer powers off in %s s.") \
    X(NoDesktopFolder, u"NoDesktopFolder", u"There is no desktop folder: no shortcut was created.") \
    X(LineBreakNamesLeftOut, u"LineBreakNamesLeftOut", u"%s file name(s) with a line break could not be saved in the list.") \
    X(DirectoryDoesNotExist, u"DirectoryDoesNotExist", u"Directory \"%s\" does not exists!") \
    X(CantReadFile, u"CantReadFile", u"Cannot read \"%s\".") \
    X(UnexpectedError, u"UnexpectedError", u"Unexpected error.") \
    X(Warning, u"Warning", u"Warning") \
    X(OutputDuration, u"OutputDuration", u"The output lasts %s s, the input %s s.") \
    X(OutputNoVideo, u"OutputNoVideo", u"The output has no video stream, although the input has one.") \
    X(OutputNoAudio, u"OutputNoAudio", u"The output has no audio stream, although the input has one.") \
    X(SpaceNeeded, u"SpaceNeeded", u"The outputs in \"%s\" need about %s.") \
    X(SpaceFree, u"SpaceFree", u"Only %s are free there.") \
    X(SpaceConvertAnyway, u"SpaceConvertAnyway", u"Convert anyway?") \
    X(EstimatedSizeShort, u"EstimatedSizeShort", u"Outputs: about %s") \
    X(BatchEstimate, u"BatchEstimate", u"Estimated size of the outputs: %s") \
    X(NotifyConverted, u"NotifyConverted", u"Files converted: %s") \
    X(NotifyConvertedFailed, u"NotifyConvertedFailed", u"Files converted: %s, failed: %s") \
    X(NotifyOpenFolder, u"NotifyOpenFolder", u"Open output folder") \
    X(actPreview, u"actPreview", u"Preview") \
    X(PreviewSource, u"PreviewSource", u"The source") \
    X(PreviewResult, u"PreviewResult", u"After conversion") \
    X(PreviewSize, u"PreviewSize", u"%s x %s pixels") \
    X(PreviewNoVideo, u"PreviewNoVideo", u"The file has no video stream.") \
    X(PreviewMoment, u"PreviewMoment", u"Moment") \
    X(Converting, u"Converting", u"Converting") \
    X(Done, u"Done", u"Done") \
    X(OK_Renamed, u"OK_Renamed", u"OK - Renamed") \
    X(Skipped, u"Skipped", u"Skipped") \
    X(OK_Overwritten, u"OK_Overwritten", u"OK - Overwritten") \
    X(PleaseWait, u"PleaseWait", u"Please wait...") \
    X(Ready, u"Ready", u"Ready") \
    X(VideoBitrateMustBeInteger, u"VideoBitrateMustBeInteger", u"Video bitrate: %s\\nBitrate must be an integer value!") \
    X(FPSMustBeFloat, u"FPSMustBeFloat", u"Video FPS: %s\\nFPS must be a float value!") \
    X(AudioBitrateMustBeInteger, u"AudioBitrateMustBeInteger", u"Audio bitrate: %s\\nBitrate must be an integer value!") \
    X(AudioSamplingMustBeInteger, u"AudioSamplingMustBeInteger", u"Audio sampling frequency: %s\\nFrequency must be an integer value!") \
    X(CommandLineInfo, u"CommandLineInfo", u"FFmpeg command-line parameters") \
    X(FFmpegNotExists, u"FFmpegNotExists", u"Could not find FFmpeg encoder!\\n\\nRemember to extract ALL files from the original ZIP archive (%s). Especially tools directory and all EXE and DLL files.\\n\\nYou can download the latest version of %s from " ZORVANE_HOME_PAGE_URL u".") \
    X(gbAudioTrackNo, u"gbAudioTrackNo", u"Audio track to convert") \
    X(FirstAudioTrack, u"FirstAudioTrack", u"(first audio track)") \
    X(AudioLanguageUndefined, u"AudioLanguageUndefined", u"(undefined)") \
    X(AudioLanguage, u"AudioLanguage", u"Language:") \
    X(AudioChannels, u"AudioChannels", u"Channels:") \
    X(pnConversionSettings, u"pnConversionSettings", u"Conversion settings") \
    X(actToolsInfo, u"actToolsInfo", u"Tools info...") \
    X(actCheckUpdate, u"actCheckUpdate", u"Check for updates...") \
    X(mnuColumns, u"mnuColumns", u"Columns") \
    X(chKeepDates, u"chKeepFileDates", u"Keep the dates of the original files") \
    X(KeepDates, u"KeepFileDates", u"Keeps the creation, last write and the last access time of the original files") \
    X(chConvertColors, u"chConvertColors", u"Convert colors to:") \
    X(chBrightness, u"chBrightness", u"Brightness:") \
    X(chSaturation, u"chSaturation", u"Saturation:") \
    X(chFlipHorizontal, u"chFlipHorizontal", u"Flip horizontal") \
    X(chFlipVertical, u"chFlipVertical", u"Flip vertical") \
    X(chRotate, u"chRotate", u"Rotate:") \
    X(chNegative, u"chNegative", u"Negative")

#define ZORVANE_FILEINFO_STRINGS(X) \
    X(Caption, u"Caption", u"Video file properties") \
    X(lblDataStreams, u"lblDataStreams", u"Data streams:") \
    X(ColumnTitle_Stream, u"ColumnTitle_Stream", u"Stream") \
    X(ColumnTitle_Details, u"ColumnTitle_Details", u"Details") \
    X(gbGeneralInfo, u"gbGeneralInfo", u"General info") \
    X(lblFileSize, u"lblFileSize", u"File size:") \
    X(lblDuration, u"lblDuration", u"Duration:") \
    X(lblFileName, u"lblFileName", u"File name:") \
    X(lblDirectory, u"lblDirectory", u"Directory:") \
    X(lblOverallBitrate, u"lblOverallBitrate", u"Overall bitrate:") \
    X(lblFormat, u"lblFormat", u"Format:") \
    X(lblNumberOfDataStreams, u"lblNumberOfDataStreams", u"Number of all data streams:") \
    X(lblNumberOfVideoStreams, u"lblNumberOfVideoStreams", u"Number of video streams:") \
    X(lblNumberOfAudioStreams, u"lblNumberOfAudioStreams", u"Number of audio streams:") \
    X(lblEncodedApplication, u"lblEncodedApplication", u"Encoded application:") \
    X(gbVideoStream, u"gbVideoStream", u"Video stream") \
    X(lblVideoCodec, u"lblVideoCodec", u"Video codec:") \
    X(lblVideoProfile, u"lblVideoProfile", u"Profile:") \
    X(lblVideoBitrate, u"lblVideoBitrate", u"Bitrate:") \
    X(lblResolution, u"lblResolution", u"Resolution:") \
    X(lblDisplayAspectRatio, u"lblDisplayAspectRatio", u"Display aspect:") \
    X(lblFPS, u"lblFPS", u"Frames / second:") \
    X(lblScanType, u"lblScanType", u"Scan type:") \
    X(lblPixelFormat, u"lblPixelFormat", u"Pixel format:") \
    X(lblBitsPerPixel, u"lblBitsPerPixel", u"Bits per pixel:") \
    X(lblVideoFrames, u"lblVideoFrames", u"Frames:") \
    X(lblVideoStreamSize, u"lblVideoStreamSize", u"Stream size:") \
    X(lblVideoEncodedLibrary, u"lblVideoEncodedLibrary", u"Encoded library:") \
    X(lblVideoStreamIndex, u"lblVideoStreamIndex", u"Stream index:") \
    X(gbAudioStream, u"gbAudioStream", u"Audio stream") \
    X(lblAudioCodec, u"lblAudioCodec", u"Audio codec:") \
    X(lblAudioProfile, u"lblAudioProfile", u"Profile:") \
    X(lblAudioBitrate, u"lblAudioBitrate", u"Bitrate:") \
    X(lblChannels, u"lblChannels", u"Channels:") \
    X(lblSamplingRate, u"lblSamplingRate", u"Sampling rate:") \
    X(lblBitsPerSample, u"lblBitsPerSample", u"Bits per sample:") \
    X(lblAudioFrames, u"lblAudioFrames", u"Samples:") \
    X(lblVideoDelay, u"lblVideoDelay", u"Video delay:") \
    X(lblAudioLanguage, u"lblAudioLanguage", u"Language:") \
    X(lblAudioStreamSize, u"lblAudioStreamSize", u"Stream size:") \
    X(lblAudioEncodedLibrary, u"lblAudioEncodedLibrary", u"Encoded library:") \
    X(lblAudioStreamIndex, u"lblAudioStreamIndex", u"Stream index:") \
    X(actClose, u"actClose", u"Close") \
    X(actSave, u"actSave", u"Save...") \
    X(actCopy, u"actCopy", u"Copy to the Clipboard") \
    X(btnCopy, u"btnCopy", u"Copy") \
    X(dlgSaveFilter, u"dlgSaveFilter", u"Text files (*.TXT)") \
    X(Report_Info, u"Report_Info", u"%s - Video file information report") \
    X(Report_File, u"Report_File", u"File:") \
    X(Report_GeneralInfo, u"Report_GeneralInfo", u"GENERAL INFO") \
    X(Report_FirstVideoStream, u"Report_FirstVideoStream", u"FIRST VIDEO STREAM") \
    X(Report_VideoStream, u"Report_VideoStream", u"VIDEO STREAM") \
    X(Report_FirstAudioStream, u"Report_FirstAudioStream", u"FIRST AUDIO STREAM") \
    X(Report_AudioStream, u"Report_AudioStream", u"AUDIO STREAM") \
    X(Report_DataStreams, u"Report_DataStreams", u"DATA STREAMS:") \
    X(Report_DataStream, u"Report_DataStream", u"DATA STREAM") \
    X(Report_MediaInfoCrashed, u"Report_MediaInfoCrashed", u"MediaInfo crashed while reading this file (signal %s).") \
    X(Report_MediaInfoEnded, u"Report_MediaInfoEnded", u"MediaInfo ended while reading this file (exit code %s).") \
    X(Report_MediaInfoTimedOut, u"Report_MediaInfoTimedOut", u"MediaInfo did not finish reading this file within %s seconds and was stopped.") \
    X(Report_MediaInfoBadAnswer, u"Report_MediaInfoBadAnswer", u"MediaInfo's helper sent an answer that cannot be read.") \
    X(Report_MediaInfoNoHelper, u"Report_MediaInfoNoHelper", u"MediaInfo's helper could not be started or could not take this file (system error %s); the file was not read by MediaInfo.") \
    X(ScanType_Interlaced, u"ScanType_Interlaced", u"interlaced") \
    X(ScanType_Progressive, u"ScanType_Progressive", u"progressive")
#define ZORVANE_ERRORS_STRINGS(X) \
    X(Caption, u"Caption", u"Errors") \
    X(actClose, u"actClose", u"Close") \
    X(actSaveLog, u"actSaveLog", u"Save log...") \
    X(actClearLog, u"actClearLog", u"Clear log") \
    X(dlgSaveLogFilter, u"dlgSaveLogFilter", u"Log file")

#define ZORVANE_OPTIONS_STRINGS(X) \
    X(Caption, u"Caption", u"Options") \
    X(gbShortcuts, u"gbShortcuts", u"Shortcuts") \
    X(chShortcutDesktop, u"chShortcutDesktop", u"On the Desktop") \
    X(chShortcutStartMenu, u"chShortcutStartMenu", u"In the Start Menu") \
    X(gbLanguage, u"gbLanguage", u"Language") \
    X(pnFileList, u"pnFileList", u"File list") \
    X(lblFileListFontName, u"lblFileListFontName", u"Font name:") \
    X(lblFileListFontSize, u"lblFileListFontSize", u"Font size:") \
    X(lblFileListRowHeight, u"lblFileListRowHeight", u"Row height:") \
    X(chFileListAllowRowMoving, u"chFileListAllowRowMoving", u"Allow row moving") \
    X(chFileListAllowColumnMoving, u"chFileListAllowColumnMoving", u"Allow column moving") \
    X(chFileListGridLines, u"chFileListGridLines", u"Show grid lines") \
    X(chFileListFooter, u"chFileListFooter", u"Show table footer") \
    X(chFileListRowIndicator, u"chFileListRowIndicator", u"Show row indicator") \
    X(chFileListIconClickOpen, u"chFileListIconClickOpen", u"Open file after click on the icon") \
    X(lblDefaultVideoCodec, u"lblDefaultVideoCodec", u"Default video encoder:") \
    X(btnCreateShortcutOnDesktop, u"btnCreateShortcutOnDesktop", u"Create shortcut on the Desktop") \
    X(lblFileAnalysis, u"lblFileAnalysis", u"File analysis:") \
    X(FileAnalysis_Full, u"FileAnalysis_Full", u"Full") \
    X(FileAnalysis_Quick, u"FileAnalysis_Quick", u"Quick") \
    X(FileAnalysis_None, u"FileAnalysis_None", u"None") \
    X(lblSimultaneousConversions, u"lblSimultaneousConversions", u"Simultaneous conversions:")

#define ZORVANE_PROGRESS_STRINGS(X) \
    X(Caption, u"Caption", u"Conversion") \
    X(lblEncoderOutput, u"lblEncoderOutput", u"Encoder output:") \
    X(lblStatus, u"lblStatus", u"Status:") \
    X(lblInputFile, u"lblInputFile", u"Input file:") \
    X(lblOutputFile, u"lblOutputFile", u"Output file:") \
    X(lblProgress, u"lblProgress", u"Progress:") \
    X(btnAbort, u"btnAbort", u"Abort") \
    X(chHideEncoderOutput, u"chHideEncoderOutput", u"Don't show encoder output") \
    X(ConvertingFile, u"ConvertingFile", u"Converting file:") \
    X(Conversion_Pass, u"Conversion_Pass", u"pass") \
    X(Conversion_Speed, u"Conversion_Speed", u"Speed:") \
    X(Conversion_FramesPerSecond, u"Conversion_FramesPerSecond", u"frames/sec") \
    X(Conversion_Frame, u"Conversion_Frame", u"Frame:") \
    X(Conversion_Complete, u"Conversion_Complete", u"Complete:") \
    X(chCloseAfterConversion, u"chCloseAfterConversion", u"Close after conversion") \
    X(colFile, u"colFile", u"File") \
    X(colPercent, u"colPercent", u"Progress") \
    X(colSpeed, u"colSpeed", u"Speed") \
    X(Overall, u"Overall", u"Overall: %s") \
    X(TimeLeft, u"TimeLeft", u"%s left")

#define ZORVANE_ABOUT_STRINGS(X) \
    X(Caption, u"Caption", u"About") \
    X(Donation, u"Donation", u"DONATION")

// actClose of these two sections has no key of its own: it follows Errors.actClose.
#define ZORVANE_TOOLSINFO_STRINGS(X) \
    X(Caption, u"Caption", u"Tools info")

#define ZORVANE_CHECKUPDATE_STRINGS(X) \
    X(Caption, u"Caption", u"Check for updates") \
    X(lblUserVersion, u"lblUserVersion", u"Your version:") \
    X(lblLatestVersion, u"lblLatestVersion", u"The latest version:") \
    X(CheckNow, u"CheckNow", u"Check now") \
    X(NoUpdates, u"NoUpdates", u"No updates available.\\nYou have the latest version.") \
    X(UpdatesAvailable, u"UpdatesAvailable", u"A new version is available.") \
    X(CheckingUpdates, u"CheckingUpdates", u"Checking available updates.\\nPlease wait...") \
    X(ConnectionFailed, u"ConnectionFailed", u"Can not connect to the server.\\nPlease try again in a few minutes.") \
    X(GoToDownloadPage, u"GoToDownloadPage", u"Go to the download page...") \
    X(btnDownload, u"btnDownload", u"Download...") \
    X(CannotCheck, u"CannotCheck", u"Unable to retrieve version information.\\nPlease try again in a few minutes.")

// clang-format on
