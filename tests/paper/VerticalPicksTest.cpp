// Cases come with the code they test.
