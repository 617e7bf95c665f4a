# The extended host services, the display conversions and the
# speaker-arrangement utilities, reached inside through a small test effect.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # A 32-bit build: no 2 GiB block fits the process's address space (the
    # refusal of larger counts is still tested), and a host's answer has no
    # bits beyond 32 to test the sample rate over.
    set(SLICECAST_NOT_ON_TARGET_framework_service_tests
        SpeakerArrangement.AllocatesTheLargestCountThatFits
        HostServiceUpdaters.TakeAPositiveSampleRateTestedOverTheWholeAnswer)
endif()
slicecast_add_unit_test(framework_service_tests
    test_host_services.cpp
    test_speaker_arrangement.cpp
    test_value_text.cpp
)
