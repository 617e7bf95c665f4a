# The extended host services, the display conversions and the
# speaker-arrangement utilities, reached inside through a small test effect.
slicecast_add_unit_test(framework_service_tests
    test_host_services.cpp
    test_speaker_arrangement.cpp
    test_value_text.cpp
)
