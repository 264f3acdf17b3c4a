// filled by the firewall work
