// The numbered services through which support libraries call the runtime.
#pragma once
#include <cstdint>

namespace ruvelto {

enum ServiceCode : int32_t {
    kServiceProgramIcon = 1000,
    kServiceWindowUnitList = 1001,
    kServiceTypeDescriptor = 1002,
    kServicePictureHelper = 1003,
    kServiceConstantOne = 1004,
    kServiceRuntimeVersion = 1005,
    kServiceProgramPathText = 1006,
    kServiceWrapWindow = 1007,
    kServiceDeleteObject = 1008,
    kServiceDetachWindow = 1009,
    kServiceWindowHandleOf = 1010,
    kServiceAttachWindow = 1011,
    kServiceAddChildWindow = 1012,
    kServiceRemoveChildWindow = 1013,
    kServiceFormsEngine = 1014,
    kServiceUnitUnloaded = 2000,
    kServiceNumberToDouble = 2001,
    kServiceProgramDirectory = 2003,
    kServiceProgramFileName = 2004,
    kServiceLoadWindow = 2005,
    kServiceFindUnit = 2006,
    kServiceFindUnitOrFail = 2007,
    kServiceRaiseEvent = 2008,
    kServiceSuppressEvents = 2009,
    kServiceResumeEvents = 2010,
    kServicePlaySound = 2015,
    kServiceStopSound = 2016,
    kServiceEventSource = 2017,
    kServiceProcessMessages = 2018,
    kServiceRegisterPicture = 2019,
    kServiceReleasePicture = 2020,
    kServiceIsPictureRegistered = 2021,
    kServiceUnitTypeCode = 2022,
    kServiceFreeArray = 2023,
    kServiceAllocate = 2024,
    kServiceFree = 2025,
    kServiceReallocate = 2026,
    kServiceRaiseError = 2027,
    kServiceExitProgram = 2028,
    kServiceTypeKind = 2029,
    kServiceProgramKind = 2030,
    kServiceRaiseEventWide = 2031,
    kServiceWindowCount = 2032,
    kServiceWindowHandle = 2033,
    kServiceTypeInformation = 2036,
};

// Selectors of kServiceProgramPathText.
enum ProgramPathSelector : int32_t {
    kPathDirectoryWithSlash = 1,
    kPathDirectory = 2001,
    kPathFileName = 2002,
};

// Notify messages the runtime sends to each library's notify entry.
enum NotifyMessage : int32_t {
    kNotifyServiceCallback = 1,
    kNotifyExit = 6,
    kNotifyTypeInformation = 8,
};

}  // namespace ruvelto
