/* The value library's headers compile as C: a C host uses them through this one unit. */
#include "CoreFoundation/CoreFoundation.h"

/* Builds {"name": "Halyx", "count": 3} in C and hands it back through an XML round trip. */
CFDictionaryRef HalyxCFBuildFromC(void) {
    int three = 3;
    CFNumberRef count = CFNumberCreate(kCFAllocatorDefault, kCFNumberIntType, &three);
    CFMutableDictionaryRef dict = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFDataRef xml;
    CFPropertyListRef back = NULL;
    CFDictionarySetValue(dict, CFSTR("name"), CFSTR("Halyx"));
    CFDictionarySetValue(dict, CFSTR("count"), count);
    xml = CFPropertyListCreateXMLData(kCFAllocatorDefault, dict);
    if (xml != NULL) {
        back = CFPropertyListCreateWithData(kCFAllocatorDefault, xml, kCFPropertyListImmutable,
                                            NULL, NULL);
        CFRelease(xml);
    }
    CFRelease(dict);
    CFRelease(count);
    return (CFDictionaryRef)back;
}
