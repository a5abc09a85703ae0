# tests of the today and Quick Muscle panels
