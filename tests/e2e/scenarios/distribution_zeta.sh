# The zeta distribution: its own vendor key, product key and AppID text.
plain_distribution_scenario zeta
